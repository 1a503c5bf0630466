// The password gate and activation with the album's settings.
#include <QLineEdit>
#include <QPushButton>

#include "dbmanage/paswoord.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"
#include "programfixture.h"

namespace {

class PasswordTest : public ProgramTest {
protected:
    // Starts the program on the album "safe" protected by `stored` (when `protect`).
    void startProtected(const std::string& stored, bool protect = true)
    {
        createAlbum(albumDir(), "safe", {{"secret memo", "a.jpg"}},
                    {{"PW", protect}, {"PASWOORD", stored.empty() ? paradox::Value{} : paradox::Value{stored}}});
        writeRegDb({264, 52, 742, 630, true, "safe", albumDir()});
        start();
    }
    void answerPassword(const QString& typed, bool ok = true)
    {
        modals.onNextModal([typed, ok](QDialog& dialog) {
            auto* prompt = qobject_cast<TForm4*>(&dialog);
            ASSERT_NE(prompt, nullptr) << "expected the password window";
            if (!typed.isNull())
                prompt->MaskEdit1->setText(typed);
            (ok ? prompt->BitBtn2 : prompt->BitBtn1)->click();
        });
    }
};

} // namespace

TEST_F(PasswordTest, TheRightPasswordOpensTheAlbum)
{
    answerPassword("Sesame");
    startProtected("Sesame");
    EXPECT_TRUE(form().albumOpen());
    EXPECT_EQ(form().windowTitle(), "Kadrix");
}

TEST_F(PasswordTest, AWrongPasswordOrOneDifferingInCaseLeavesNoAlbumOpenSilently)
{
    answerPassword("sesame");
    startProtected("Sesame");
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(db().Table3.active());
    EXPECT_EQ(form().windowTitle(), "Kadrix");
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_TRUE(readRegDb().autoOpen) << "a refused password is no failure";
}

TEST_F(PasswordTest, CancelLeavesNoAlbumOpen)
{
    answerPassword("Sesame", false);
    startProtected("Sesame");
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(db().Table3.active());
}

TEST_F(PasswordTest, AnEmptyStoredPasswordAcceptsOnlyAnEmptyEntry)
{
    answerPassword("x");
    startProtected("");
    EXPECT_FALSE(form().albumOpen());
    stop();
    answerPassword("");
    start();
    EXPECT_TRUE(form().albumOpen());
}

TEST_F(PasswordTest, WithoutProtectionTheStoredPasswordIsIgnored)
{
    startProtected("Sesame", false);
    EXPECT_TRUE(form().albumOpen());
    EXPECT_EQ(modals.handled, 0);
}

TEST_F(PasswordTest, TheEntryKeepsItsTextBetweenPrompts)
{
    answerPassword("Sesame");
    startProtected("Sesame");
    ASSERT_TRUE(form().albumOpen());
    QString shownAtSecondPrompt;
    modals.onNextModal([&](QDialog& dialog) {
        auto& prompt = static_cast<TForm4&>(dialog);
        shownAtSecondPrompt = prompt.MaskEdit1->text();
        EXPECT_EQ(prompt.MaskEdit1->displayText(), "******") << "each character shown as a star";
        prompt.BitBtn2->click();
    });
    dialogs.answerPath(QString::fromStdString(albumDir() + "/safe.mb"));
    trigger("Open1");
    EXPECT_EQ(shownAtSecondPrompt, "Sesame");
    EXPECT_TRUE(form().albumOpen());
}

TEST_F(ProgramTest, ActivationAppliesTheAlbumSettingsToThePictureView)
{
    createAlbum(albumDir(), "tuned", {{"m", "name-of-picture.jpg", {}, false, pictureFile(40, 30, Qt::red)}},
                {{"JPG QUALITY", std::int64_t{0}},
                 {"JPG SMOOTH", std::int64_t{40}},
                 {"PNG INTERLACE", std::string("Yes")},
                 {"TIF COMPRESSION", std::string("PACKBITS")},
                 {"TITEL", true},
                 {"CENTER", false},
                 {"PASSEND", false}});
    writeRegDb({264, 52, 742, 630, true, "tuned", albumDir()});
    startWithoutActivation();
    TPDBMultiImage& view = pictureView();
    view.setPCDMode(imaging::PcdMode::pcd_BASE4);
    form().FormActivate();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(view.settings().jpegQuality(), 25) << "quality 0 is taken as 25";
    EXPECT_EQ(view.settings().jpegSmoothing(), 40);
    EXPECT_TRUE(view.settings().pngInterlaced());
    EXPECT_EQ(view.settings().tiffCompression(), imaging::TiffCompression::sPACKBITS);
    EXPECT_EQ(view.settings().pcdMode(), imaging::PcdMode::pcd_BASE4) << "\"Base 1\" chooses no Photo CD mode";
    EXPECT_EQ(view.textOverlay(), "name-of-picture.jpg");
    EXPECT_FALSE(view.Center());
    EXPECT_FALSE(view.StretchRatio());
    view.waitForDisplay();
    EXPECT_EQ(view.pictureSize(), QSize(40, 30));
}

TEST_F(ProgramTest, AnEmptyAlbumActivatesWithThePositionBarAtZeroOfOne)
{
    createAlbum(albumDir(), "empty", {});
    writeRegDb({264, 52, 742, 630, true, "empty", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(positionBar().maximum(), 1);
    EXPECT_EQ(positionBar().value(), 0);
    EXPECT_EQ(paneText("RzStatusPane3"), "0");
}

TEST_F(ProgramTest, AFailingActivationIsReportedAndSwitchesAutomaticOpeningOff)
{
    // The settings table is there, the picture table is not.
    createAlbum(albumDir(), "broken", {});
    std::filesystem::remove(albums.path() / "broken.db");
    writeRegDb({264, 52, 742, 630, true, "broken", albumDir()});
    start();
    EXPECT_EQ(form().windowTitle(), "Error: ActivateDatabase");
    EXPECT_FALSE(form().albumOpen());

    // The settings table the failed activation left open does not keep other albums out.
    createAlbum(albumDir(), "sound", {{"", "one"}});
    dialogs.answerPath(QString::fromStdString(albumDir() + "/sound.mb"));
    trigger("Open1");
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(db().Table3.tableName(), "sound2.db");
    stop();
    EXPECT_FALSE(readRegDb().autoOpen);
}
