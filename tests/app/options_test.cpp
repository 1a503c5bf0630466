// The Options window over the open album's settings and reg.db's automatic opening.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "dbmanage/opties.h"
#include "dbmanage/paswoord.h"
#include "framework/dbcheckbox.h"
#include "framework/dbcombobox.h"
#include "framework/dbedit.h"
#include "framework/dbtrackbar.h"
#include "programfixture.h"

namespace {

class OptionsTest : public ProgramTest {
protected:
    // The album "opts" with a large and a small picture, open; display settings off.
    void SetUp() override
    {
        createAlbum(albumDir(), "opts",
                    {{"large", "large.png", {}, false, pictureFile(3000, 2000, Qt::blue)},
                     {"small", "small.png", {}, false, pictureFile(20, 20, Qt::red)}},
                    {{"CENTER", false}, {"PASSEND", false}, {"TITEL", false}});
        writeRegDb({264, 52, 742, 630, true, "opts", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    // Opens the Options window, lets `act` use it, and closes it with OK or its close box.
    void useOptions(const std::function<void(TForm7&)>& act, bool ok)
    {
        bool shown = false;
        modals.onNextModal([&](QDialog& dialog) {
            auto* window = qobject_cast<TForm7*>(&dialog);
            ASSERT_NE(window, nullptr) << "expected the Options window";
            shown = true;
            act(*window);
            if (ok)
                window->BitBtn1->click();
            else
                window->close(); // the title bar's close box
        });
        trigger("Opties1");
        EXPECT_TRUE(shown);
    }
    // The settings record as stored on disk, read after the album is closed.
    paradox::Value storedSetting(const std::string& field)
    {
        closeAlbum();
        TTable settings;
        settings.setDatabaseName(albumDir());
        settings.setTableName("opts2.db");
        settings.open();
        return settings.fieldByName(field).value();
    }
    void openAlbum(const QString& typedPassword = {})
    {
        if (!typedPassword.isNull())
            modals.onNextModal([typedPassword](QDialog& dialog) {
                auto& prompt = dynamic_cast<TForm4&>(dialog);
                prompt.MaskEdit1->setText(typedPassword);
                prompt.BitBtn2->click();
            });
        dialogs.answerPath(QString::fromStdString(albumDir() + "/opts.mb"));
        trigger("Open1");
    }
    // A press and release of the mouse on a bar, after the bar was put at `position`.
    static void dragTo(DBTrackBar& bar, int position)
    {
        bar.setSliderDown(true);
        bar.setValue(position);
        bar.setSliderDown(false);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, bar.rect().center());
    }
};

} // namespace

TEST_F(OptionsTest, TheCloseBoxStoresEveryChangedSettingButThePassword)
{
    useOptions(
        [](TForm7& window) {
            window.CheckBox1->click();
            window.CheckBox3->click();
            window.RzDBTrackBar2->setValue(40);
            window.RzDBComboBox3->setCurrentIndex(5);
            window.DBEdit2->setFocus();
            window.DBEdit2->selectAll();
            QTest::keyClicks(window.DBEdit2, "35");
            window.MaskEdit1->setText("not kept");
        },
        false);
    EXPECT_EQ(db().Table3.state(), TDataSetState::dsBrowse) << "the record leaves editing";
    EXPECT_EQ(std::get<bool>(storedSetting("CENTER")), true);
    EXPECT_EQ(std::get<bool>(storedSetting("TITEL")), true);
    EXPECT_EQ(std::get<std::int64_t>(storedSetting("JPG SMOOTH")), 40);
    EXPECT_EQ(std::get<std::string>(storedSetting("TIF COMPRESSION")), "PACKBITS");
    EXPECT_EQ(std::get<std::int64_t>(storedSetting("DELAY")), 35);
    EXPECT_TRUE(std::holds_alternative<paradox::Null>(storedSetting("PASWOORD")));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(OptionsTest, ACenterSetOnlyByCodeStillWritesAndApplies)
{
    db().Table3.edit();
    db().Table3.fieldByName("CENTER").setAsBoolean(true);
    db().Table3.refresh();
    useOptions([](TForm7& window) { EXPECT_TRUE(window.CheckBox1->isChecked()); }, true);
    EXPECT_TRUE(pictureView().Center()) << "applied when the window closes";
    EXPECT_EQ(std::get<bool>(storedSetting("CENTER")), true);
}

TEST_F(OptionsTest, AQualityOfZeroIsStoredAndThePictureViewUses25)
{
    useOptions(
        [](TForm7& window) {
            dragTo(*window.RzDBTrackBar1, 0);
            dragTo(*window.RzDBTrackBar2, 70);
        },
        true);
    EXPECT_EQ(pictureView().settings().jpegQuality(), 25);
    EXPECT_EQ(pictureView().settings().jpegSmoothing(), 70);
    EXPECT_EQ(std::get<std::int64_t>(storedSetting("JPG QUALITY")), 0);
    EXPECT_EQ(std::get<std::int64_t>(storedSetting("JPG SMOOTH")), 70);
}

TEST_F(OptionsTest, KeyboardMovedBarsAreStoredButApplyOnlyAtTheNextActivation)
{
    ASSERT_EQ(pictureView().settings().jpegQuality(), 100);
    useOptions(
        [](TForm7& window) {
            window.PageControl1->setCurrentIndex(2);
            window.RzDBTrackBar1->setFocus();
            QTest::keyClick(window.RzDBTrackBar1, Qt::Key_Left);
            QTest::keyClick(window.RzDBTrackBar1, Qt::Key_Left);
        },
        true);
    EXPECT_EQ(db().Table3.fieldByName("JPG QUALITY").asInteger(), 98);
    EXPECT_EQ(pictureView().settings().jpegQuality(), 100) << "not applied yet";
    openAlbum();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(pictureView().settings().jpegQuality(), 98);
}

TEST_F(OptionsTest, AutoFitShrinksOnlyAPictureLargerThanTheView)
{
    pictureView().waitForDisplay();
    ASSERT_FALSE(pictureView().StretchRatio());
    useOptions([](TForm7& window) { window.CheckBox2->click(); }, true);
    EXPECT_TRUE(pictureView().StretchRatio()) << "the 3000 by 2000 picture is fitted";

    click("SpeedButton2");
    pictureView().waitForDisplay();
    ASSERT_EQ(db().Table1.fieldByName("NAAM").asString(), "small.png");
    useOptions([](TForm7& window) { EXPECT_TRUE(window.CheckBox2->isChecked()); }, true);
    EXPECT_FALSE(pictureView().StretchRatio()) << "a 20 by 20 picture keeps its own size";
}

TEST_F(OptionsTest, ChoosingAnItemReplacesTheUnmatchedBase1AndAppliesAtOnce)
{
    useOptions(
        [this](TForm7& window) {
            EXPECT_EQ(window.RzDBComboBox1->currentIndex(), -1) << "\"Base 1\" is no item";
            window.RzDBComboBox1->setCurrentIndex(1);
            EXPECT_EQ(pictureView().settings().pcdMode(), imaging::PcdMode::pcd_BASE4) << "at once";
            window.RzDBComboBox3->setCurrentIndex(0);
            EXPECT_EQ(pictureView().settings().tiffCompression(), imaging::TiffCompression::sNONE);
            window.RzDBComboBox2->setCurrentIndex(0);
            EXPECT_TRUE(pictureView().settings().pngInterlaced());
        },
        true);
    EXPECT_EQ(std::get<std::string>(storedSetting("PCD MODE")), "Base / 4");
    EXPECT_EQ(std::get<std::string>(storedSetting("TIF COMPRESSION")), "None");
    EXPECT_EQ(std::get<std::string>(storedSetting("PNG INTERLACE")), "Yes");
}

TEST_F(OptionsTest, ProtectionWithAnEmptyPasswordOpensOnlyWithAnEmptyEntry)
{
    useOptions(
        [](TForm7& window) {
            window.MaskEdit1->clear();
            QTest::mouseClick(window.DBCheckBox1, Qt::LeftButton);
        },
        true);
    EXPECT_TRUE(db().Table3.fieldByName("PW").asBoolean());
    openAlbum("x");
    EXPECT_FALSE(form().albumOpen());
    openAlbum("");
    EXPECT_TRUE(form().albumOpen());
}

TEST_F(OptionsTest, APasswordIsCutTo15CharactersAndTakenOnlyOnOk)
{
    useOptions([](TForm7& window) { window.MaskEdit1->setText("abcdefghijklmnopqrst"); }, true);
    EXPECT_EQ(db().Table3.fieldByName("PASWOORD").asString(), "abcdefghijklmno");
    // The window shows the stored password at each opening, whatever was typed last time.
    useOptions(
        [](TForm7& window) {
            EXPECT_EQ(window.MaskEdit1->text(), "abcdefghijklmno");
            window.MaskEdit1->setText("typed, then closed");
        },
        false);
    useOptions([](TForm7& window) { EXPECT_EQ(window.MaskEdit1->text(), "abcdefghijklmno"); }, false);
}

TEST_F(OptionsTest, TheWindowKeepsItsPageBetweenUses)
{
    useOptions([](TForm7& window) { window.PageControl1->setCurrentIndex(2); }, false);
    useOptions([](TForm7& window) { EXPECT_EQ(window.PageControl1->currentIndex(), 2); }, false);
}

TEST_F(OptionsTest, AutomaticOpeningChangedWithoutOkIsStoredAtShutdown)
{
    useOptions([](TForm7& window) { QTest::mouseClick(window.DBCheckBox2, Qt::LeftButton); }, false);
    EXPECT_TRUE(readRegDb().autoOpen) << "pending in reg.db's record";
    stop();
    EXPECT_FALSE(readRegDb().autoOpen);
}

TEST_F(OptionsTest, AutomaticOpeningIsPostedAtOnceOnOk)
{
    useOptions([](TForm7& window) { QTest::mouseClick(window.DBCheckBox2, Qt::LeftButton); }, true);
    EXPECT_FALSE(readRegDb().autoOpen);
}

TEST_F(OptionsTest, ADelayThatIsNoWholeNumberIsRefusedWithAMessageAndNotStored)
{
    useOptions(
        [](TForm7& window) {
            window.DBEdit2->setFocus();
            window.DBEdit2->selectAll();
            QTest::keyClicks(window.DBEdit2, "2.5s");
        },
        false);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("DELAY")) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialogs.errors[0].contains("2.5s")) << dialogs.errors[0].toStdString();
    EXPECT_EQ(std::get<std::int64_t>(storedSetting("DELAY")), 20);
}

TEST_F(ProgramTest, OptionsWorkWithoutReg_dbAndStoreTheAlbumSettings)
{
    createAlbum(albumDir(), "loose", {{"m", "a.png"}});
    start(); // no reg.db: the caption says so and nothing opens
    dialogs.answerPath(QString::fromStdString(albumDir() + "/loose.mb"));
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen());
    modals.onNextModal([](QDialog& dialog) {
        auto& window = dynamic_cast<TForm7&>(dialog);
        window.MaskEdit1->setText("pw");
        window.BitBtn1->click();
    });
    trigger("Opties1");
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    EXPECT_EQ(db().Table3.fieldByName("PASWOORD").asString(), "pw");
}
