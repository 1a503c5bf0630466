// Naming the categories: what the editor shows, what it stores however it is closed, and the
// main window's labels following at once.
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "framework/dblabel.h"
#include "programfixture.h"
#include "views/labels.h"

namespace {

class CategoryEditorTest : public ProgramTest {
protected:
    void SetUp() override
    {
        createAlbum(albumDir(), "names", {{"", "1"}, {"", "2", {3}}, {"", "3", {3}}});
        writeRegDb({264, 52, 742, 630, true, "names", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    // Opens the editor, lets `edit` change it, and closes it with the close button.
    void editNames(const std::function<void(TForm2&)>& edit, bool closeBox = false)
    {
        modals.onNextModal([&edit, closeBox](QDialog& dialog) {
            auto& editor = static_cast<TForm2&>(dialog);
            edit(editor);
            if (closeBox)
                editor.close();
            else
                editor.BitBtn1->click();
        });
        trigger("Labels1");
        EXPECT_EQ(modals.unused(), 0);
    }
    std::string storedName(int category) { return db().Table2.fieldByName(std::to_string(category)).asString(); }
    QString label(int category)
    {
        return control<QLabel>(QStringLiteral("RzDBLabel%1").arg(category <= 7 ? category : category + 7)).text();
    }
};

} // namespace

TEST_F(CategoryEditorTest, TheFirstUseCreatesTheRecordAndTheLabelsShowTheNamesAtOnce)
{
    ASSERT_TRUE(db().Table2.isEmpty());
    QStringList shown;
    editNames([&shown](TForm2& editor) {
        for (int category = 1; category <= 24; ++category)
            shown << editor.nameEdit(category).text();
        editor.nameEdit(1).setText("Holidays");
        editor.nameEdit(12).setText("Family");
        editor.nameEdit(13).setText("Garden");
        editor.nameEdit(24).setText("Last");
    });
    EXPECT_EQ(shown, QStringList(24, QString())) << "no record yet: every edit empty";
    EXPECT_EQ(db().Table2.recordCount(), 1);
    EXPECT_EQ(storedName(1), "Holidays");
    EXPECT_EQ(storedName(12), "Family");
    EXPECT_EQ(storedName(13), "Garden");
    EXPECT_EQ(storedName(24), "Last");
    EXPECT_EQ(label(1), "Holidays");
    EXPECT_EQ(label(12), "Family");
    EXPECT_EQ(label(13), "Garden");
    EXPECT_EQ(label(24), "Last");
}

TEST_F(CategoryEditorTest, LongNamesAreCutAtTheFieldSizeNeverInsideACharacter)
{
    editNames([](TForm2& editor) {
        editor.nameEdit(2).setText("Twentycharacters1234");
        // "é" takes bytes 15 and 16: the cut falls inside it, so it goes whole.
        editor.nameEdit(3).setText(QStringLiteral("Fourteen bytes\u00e9 more"));
        editor.nameEdit(4).setText(QStringLiteral("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"));
    });
    EXPECT_EQ(storedName(2), "Twentycharacter");
    EXPECT_EQ(label(2), "Twentycharacter");
    EXPECT_EQ(storedName(3), "Fourteen bytes");
    EXPECT_EQ(QString::fromStdString(storedName(4)), QStringLiteral("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"));
    QString shownNext;
    editNames([&shownNext](TForm2& editor) { shownNext = editor.nameEdit(2).text(); });
    EXPECT_EQ(shownNext, "Twentycharacter");
}

TEST_F(CategoryEditorTest, TheCloseBoxStoresAsTheCloseButtonDoesAndUntouchedNamesStay)
{
    editNames([](TForm2& editor) {
        editor.nameEdit(5).setText("Five");
        editor.nameEdit(6).setText("Six");
    });
    editNames([](TForm2& editor) { editor.nameEdit(6).clear(); editor.nameEdit(7).setText("Seven"); },
              /*closeBox=*/true);
    EXPECT_EQ(storedName(5), "Five");
    EXPECT_EQ(storedName(6), "");
    EXPECT_EQ(storedName(7), "Seven");
    EXPECT_EQ(label(5), "Five");
    EXPECT_EQ(label(6), "");
    EXPECT_EQ(label(7), "Seven");
}

TEST_F(CategoryEditorTest, OpeningTheEditorLiftsAFilterAndShowsTheFirstPicture)
{
    click("RzDBLabel3"); // category 3: pictures 2 and 3
    click("SpeedButton2");
    ASSERT_EQ(db().Table1.fieldByName("NAAM").asString(), "3");
    editNames([](TForm2&) {});
    EXPECT_FALSE(db().Table1.filtered());
    EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_EQ(db().Table1.fieldByName("NAAM").asString(), "1");
}
