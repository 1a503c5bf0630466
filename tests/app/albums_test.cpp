// Making, opening and deleting albums.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <fstream>

#include <QFile>
#include <QFileInfo>

#include "dbmanage/paswoord.h"
#include "dbmanage/newbase.h"
#include "framework/dbmemo.h"
#include "framework/filelistbox.h"
#include "pictures/mmopendialog.h"
#include "support/filesizelimit.h"
#include "framework/directorylistbox.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

class AlbumsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        createAlbum(albumDir(), "current", {{"kept", "1"}});
        writeRegDb({264, 52, 742, 630, true, "current", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    // Answers the New Database window with a folder and a name.
    void answerNewDatabase(const QString& folder, const QString& name, bool ok = true)
    {
        modals.onNextModal([folder, name, ok](QDialog& dialog) {
            auto& window = static_cast<TForm8&>(dialog);
            if (!folder.isEmpty())
                window.DirectoryListBox1->setDirectory(folder);
            window.Edit1->setText(name);
            (ok ? window.BitBtn2 : window.BitBtn1)->click();
        });
    }
    QString dir(const std::string& name = {}) const
    {
        return QString::fromStdString(name.empty() ? albumDir() : (albums.path() / name).string());
    }
    bool exists(const std::string& name) const { return fs::exists(albums.path() / name); }
    std::string openAlbumName() { return db().Table1.tableName(); }
};

} // namespace

TEST_F(AlbumsTest, NewMakesTheThreeTablesWithTheSettingsRecordAndLeavesTheAlbumOpen)
{
    answerNewDatabase(dir(), "trip.db");
    trigger("New1");
    EXPECT_TRUE(exists("trip.db.db")) << "a typed extension is kept";
    EXPECT_TRUE(exists("trip.db1.db"));
    EXPECT_TRUE(exists("trip.db2.db"));
    EXPECT_TRUE(exists("trip.db.mb"));
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(openAlbumName(), "trip.db.db");
    EXPECT_EQ(db().Table1.databaseName(), albumDir() + "/");
    EXPECT_EQ(db().Table1.recordCount(), 0);
    EXPECT_EQ(db().Table2.recordCount(), 0);
    ASSERT_EQ(db().Table3.recordCount(), 1);
    TTable& settings = db().Table3;
    EXPECT_EQ(settings.fieldByName("PASWOORD").asString(), "");
    EXPECT_FALSE(settings.fieldByName("PW").asBoolean());
    EXPECT_TRUE(settings.fieldByName("CENTER").asBoolean());
    EXPECT_TRUE(settings.fieldByName("PASSEND").asBoolean());
    EXPECT_EQ(settings.fieldByName("DELAY").asInteger(), 20);
    EXPECT_EQ(settings.fieldByName("JPG QUALITY").asInteger(), 100);
    EXPECT_EQ(settings.fieldByName("PNG INTERLACE").asString(), "No");
    EXPECT_EQ(settings.fieldByName("TIF COMPRESSION").asString(), "LZW");
    EXPECT_EQ(settings.fieldByName("PCD MODE").asString(), "Base 1");
    EXPECT_TRUE(settings.fieldByName("AN SPEED").isNull());
    EXPECT_EQ(positionBar().maximum(), 0);
    EXPECT_EQ(paneText("RzStatusPane3"), "0");
    EXPECT_TRUE(control<QToolButton>("SpeedButton2").isEnabled());
}

TEST_F(AlbumsTest, NewWithAnEmptyNameOrAnExistingPictureTableDoesNothing)
{
    answerNewDatabase(dir(), "");
    trigger("New1");
    answerNewDatabase(dir(), "current");
    trigger("New1");
    answerNewDatabase(dir(), "never", false);
    trigger("New1");
    EXPECT_EQ(openAlbumName(), "current.db");
    EXPECT_FALSE(exists("never.db"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(AlbumsTest, NewReplacesAStrayCategoryTable)
{
    std::ofstream(albums.path() / "fresh1.db") << "not a table";
    answerNewDatabase(dir(), "fresh");
    trigger("New1");
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(db().Table2.recordCount(), 0);
}

TEST_F(AlbumsTest, NewRefusesANameWhoseTablesAreAnotherAlbumsPictures)
{
    createAlbum(albumDir(), "trip1", {{"", "kept"}});
    const auto before = fs::file_size(albums.path() / "trip1.mb");
    answerNewDatabase(dir(), "trip");
    trigger("New1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("\"trip1\"")) << dialogs.errors[0].toStdString();
    EXPECT_FALSE(exists("trip.db"));
    EXPECT_EQ(fs::file_size(albums.path() / "trip1.mb"), before);
    EXPECT_EQ(openAlbumName(), "current.db") << "the open album stays open";
    dialogs.answerPath(dir() + "/trip1.mb");
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(db().Table1.recordCount(), 1);
}

TEST_F(AlbumsTest, NewRefusesNamesThatWouldLeaveTheChosenFolder)
{
    fs::create_directory(albums.path() / "sub");
    for (const QString& name :
         {QStringLiteral("../escape"), QStringLiteral("sub/inner"), QStringLiteral("."), QStringLiteral("..")}) {
        dialogs.errors.clear();
        answerNewDatabase(dir("sub"), name);
        trigger("New1"); // as the menu runs it: an escaping error is shown
        ASSERT_EQ(dialogs.errors.size(), 1) << name.toStdString();
        EXPECT_TRUE(dialogs.errors[0].contains("cannot be used as a database name"));
    }
    EXPECT_FALSE(exists("escape.db"));
    EXPECT_FALSE(exists("sub/inner.db"));
    EXPECT_TRUE(fs::is_empty(albums.path() / "sub"));
    EXPECT_EQ(openAlbumName(), "current.db") << "the open album stays open";
}

TEST_F(AlbumsTest, TheNewDatabaseWindowKeepsItsFolderAndName)
{
    fs::create_directory(albums.path() / "place");
    answerNewDatabase(dir("place"), "first");
    trigger("New1");
    QString folderShown, nameShown;
    QRect placed;
    QSize smallest, largest;
    modals.onNextModal([&](QDialog& dialog) {
        auto& window = static_cast<TForm8&>(dialog);
        folderShown = window.location();
        nameShown = window.Edit1->text();
        placed = window.frameGeometry();
        smallest = window.minimumSize();
        largest = window.maximumSize();
        window.BitBtn1->click();
    });
    trigger("New1");
    EXPECT_EQ(folderShown, dir("place"));
    EXPECT_EQ(nameShown, "first");
    EXPECT_EQ(smallest, largest) << "a fixed border";
    const QPoint screenCentre = form().screen()->availableGeometry().center();
    EXPECT_LE((placed.center() - screenCentre).manhattanLength(), 2) << "centred on the screen";
}

TEST_F(AlbumsTest, OpenCutsTheChosenPathAtItsLastDot)
{
    createAlbum(albumDir(), "2001.trip", {{"", "a"}, {"", "b"}});
    dialogs.answerPath(dir() + "/2001.trip.mb");
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(openAlbumName(), "2001.trip.db");
    EXPECT_EQ(paneText("RzStatusPane1"), "2001.trip");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].request.title, "Open a Database");
    EXPECT_TRUE(dialogs.asked[0].request.fileName.isEmpty());
}

TEST_F(AlbumsTest, CancellingOpenChangesNothingButACancelledPasswordLeavesNoAlbum)
{
    dialogs.answerCancel();
    trigger("Open1");
    EXPECT_EQ(openAlbumName(), "current.db");

    createAlbum(albumDir(), "locked", {}, {{"PW", true}, {"PASWOORD", std::string("pw")}});
    dialogs.answerPath(dir() + "/locked.mb");
    modals.onNextModal([](QDialog& dialog) { static_cast<TForm4&>(dialog).BitBtn1->click(); });
    trigger("Open1");
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(db().Table3.active());
    EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
}

TEST_F(AlbumsTest, DeletingTheOpenAlbumClosesItAndRemovesItsFiles)
{
    dialogs.answerPath(dir() + "/current.mb");
    trigger("Delete1");
    EXPECT_FALSE(form().albumOpen());
    for (const char* file : {"current.db", "current1.db", "current2.db", "current.mb"})
        EXPECT_FALSE(exists(file)) << file;
    EXPECT_EQ(dialogs.asked[0].request.title, "Delete a Database");
    EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
    EXPECT_TRUE(paneText("RzStatusPane1").isEmpty());
}

TEST_F(AlbumsTest, DeletingAnotherAlbumClosesTheCurrentOneToo)
{
    createAlbum(albumDir(), "other", {});
    dialogs.answerPath(dir() + "/other.mb");
    trigger("Delete1");
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(exists("other.db"));
    EXPECT_TRUE(exists("current.db"));
}

TEST_F(AlbumsTest, AMissingCategoryTableStopsTheDeleteThere)
{
    createAlbum(albumDir(), "partial", {});
    fs::remove(albums.path() / "partial1.db");
    dialogs.answerPath(dir() + "/partial.mb");
    trigger("Delete1");
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_FALSE(exists("partial.db"));
    EXPECT_FALSE(exists("partial.mb"));
    EXPECT_TRUE(exists("partial2.db")) << "the tables after the failing one stay";
}

TEST_F(AlbumsTest, ADotInAFolderNameNeverChoosesAnotherAlbumToDelete)
{
    createAlbum(albumDir(), "photos", {{"", "kept"}});
    fs::create_directory(albums.path() / "photos.2020");
    dialogs.answerPath(dir("photos.2020") + "/holiday");
    trigger("Delete1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("has no extension")) << dialogs.errors[0].toStdString();
    for (const char* file : {"photos.db", "photos1.db", "photos2.db", "photos.mb"})
        EXPECT_TRUE(exists(file)) << file;
    EXPECT_EQ(openAlbumName(), "current.db") << "refused before anything was closed";
    EXPECT_TRUE(control<QToolButton>("SpeedButton2").isEnabled());
    EXPECT_EQ(dialogs.asked[0].request.acceptLabel, "&Delete");
}

TEST_F(AlbumsTest, OpeningAnIncompleteAlbumSaysWhichTableIsMissingAndLeavesNoAlbumOpen)
{
    createAlbum(albumDir(), "fake", {{"", "a"}});
    fs::remove(albums.path() / "fake2.db");
    dialogs.answerPath(dir() + "/fake.mb");
    trigger("Open1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    const std::string error = dialogs.errors[0].toStdString();
    EXPECT_NE(error.find("\"fake\""), std::string::npos) << error;
    EXPECT_NE(error.find("settings table fake2.db is missing"), std::string::npos) << error;
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
    EXPECT_TRUE(paneText("RzStatusPane1").isEmpty()) << "the closed album is not named any more";
    EXPECT_EQ(paneText("RzStatusPane3"), "0");
}

TEST_F(AlbumsTest, OpenNamesAllThreeTablesOfTheChosenAlbum)
{
    createAlbum(albumDir(), "2001.trip", {{"", "a"}});
    dialogs.answerPath(dir() + "/2001.trip.mb");
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(db().Table1.tableName(), "2001.trip.db");
    EXPECT_EQ(db().Table2.tableName(), "2001.trip1.db");
    EXPECT_EQ(db().Table3.tableName(), "2001.trip2.db");
    for (TTable* table : {&db().Table1, &db().Table2, &db().Table3})
        EXPECT_EQ(table->databaseName(), albumDir());
}

TEST_F(AlbumsTest, ADamagedAlbumNeverKeepsTheOthersFromOpening)
{
    createAlbum(albumDir(), "damaged",
                {{"a memo long enough to live in the blob file", "a", {}, false, pictureFile(40, 40, Qt::red)}});
    fs::resize_file(albums.path() / "damaged.mb", 10);
    dialogs.answerPath(dir() + "/damaged.mb");
    trigger("Open1");
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.errors.size(), 1) << "the unreadable memo is reported once";
    EXPECT_TRUE(control<DBMemo>("DBMemo1").toPlainText().isEmpty());

    dialogs.answerPath(dir() + "/current.mb");
    trigger("Open1");
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join(" / ").toStdString();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(openAlbumName(), "current.db");
    answerNewDatabase(dir(), "fresh");
    trigger("New1");
    EXPECT_EQ(openAlbumName(), "fresh.db");
}

TEST_F(AlbumsTest, AnAlbumThatFailsToActivateLeavesTheWindowShowingNoAlbum)
{
    createAlbum(albumDir(), "partial", {{"", "a"}});
    fs::remove(albums.path() / "partial1.db");
    dialogs.answerPath(dir() + "/partial.mb");
    trigger("Open1");
    EXPECT_EQ(form().windowTitle(), "Error: ActivateDatabase");
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(db().Table3.active());
    EXPECT_FALSE(control<QToolButton>("SpeedButton2").isEnabled());
    EXPECT_FALSE(action("Opties1").isEnabled());
    EXPECT_TRUE(paneText("RzStatusPane1").isEmpty());
    EXPECT_EQ(paneText("RzStatusPane3"), "0");
    EXPECT_TRUE(dialogs.errors.isEmpty()) << "activation reports in the caption only";
}

TEST_F(AlbumsTest, NewOpenAndDeleteStoreWhatWasTypedAndTickedBeforeClosing)
{
    bool inCategory = false;
    const auto editCurrentAlbum = [&](const QString& memo) {
        DBMemo& box = control<DBMemo>("DBMemo1");
        box.setFocus();
        QTest::keyClicks(&box, memo);
        QTest::mouseClick(&control<QWidget>("RzDBCheckBox5"), Qt::LeftButton); // category 3
        inCategory = !inCategory;
    };
    const auto expectStored = [&](const std::string& memo) {
        TTable pictures;
        pictures.setDatabaseName(albumDir());
        pictures.setTableName("current.db");
        pictures.open();
        EXPECT_EQ(pictures.fieldByName("MEMO").asString(), memo);
        EXPECT_EQ(pictures.fieldByName("3").asBoolean(), inCategory);
    };
    createAlbum(albumDir(), "other", {});
    editCurrentAlbum("new ");
    answerNewDatabase(dir(), "made");
    trigger("New1");
    expectStored("new kept");

    dialogs.answerPath(dir() + "/current.mb");
    trigger("Open1");
    editCurrentAlbum("open ");
    dialogs.answerPath(dir() + "/other.mb");
    trigger("Open1");
    expectStored("open new kept");

    dialogs.answerPath(dir() + "/current.mb");
    trigger("Open1");
    editCurrentAlbum("delete ");
    dialogs.answerPath(dir() + "/made.mb");
    trigger("Delete1");
    expectStored("delete open new kept");
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(" / ").toStdString();
}

TEST_F(AlbumsTest, ClosingAnAlbumLetsItGoEvenWhenItsLastChangeCannotBeStored)
{
    createAlbum(albumDir(), "other", {});
    const QString big = dir() + "/big.jpg";
    {
        QFile file(big);
        file.open(QIODevice::WriteOnly);
        file.write(noiseBytes(2 << 20, 1));
    }
    modals.onNextModal([big](QDialog& dialog) {
        auto& window = static_cast<TMMOpenDialog&>(dialog);
        window.directoryList()->setDirectory(QFileInfo(big).absolutePath());
        window.fileList()->selectFile(big);
        window.okButton()->click();
    });
    trigger("ImportSingle1");
    ASSERT_EQ(db().Table1.state(), TDataSetState::dsInsert);
    {
        const FileSizeLimit diskFull(1 << 20);
        dialogs.answerPath(dir() + "/other.mb");
        trigger("Open1");
    }
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("could not be stored")) << dialogs.errors[0].toStdString();
    ASSERT_TRUE(form().albumOpen()) << "the other album opened all the same";
    EXPECT_EQ(openAlbumName(), "other.db");
    dialogs.answerPath(dir() + "/current.mb");
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen()) << "the first album was let go";
    EXPECT_EQ(db().Table1.recordCount(), 1);
}

TEST_F(AlbumsTest, NewRefusesBlankAndOverlongNamesBeforeClosingAnything)
{
    for (const QString& name : {QStringLiteral("   "), QString(300, QLatin1Char('n'))}) {
        dialogs.errors.clear();
        answerNewDatabase(dir(), name);
        trigger("New1");
        ASSERT_EQ(dialogs.errors.size(), 1) << name.size();
        EXPECT_TRUE(dialogs.errors[0].contains("cannot be used as a database name")) << dialogs.errors[0].toStdString();
        EXPECT_FALSE(dialogs.errors[0].contains("filesystem error"));
        EXPECT_EQ(openAlbumName(), "current.db");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(albums.path()), fs::directory_iterator()), 4)
        << "nothing was created";
}

TEST_F(AlbumsTest, TheNewDatabaseWindowReadsItsFoldersAgainAtEachOpening)
{
    fs::create_directory(albums.path() / "place");
    answerNewDatabase(dir("place"), "", false);
    trigger("New1");
    fs::remove(albums.path() / "place");
    QString folderShown;
    modals.onNextModal([&folderShown](QDialog& dialog) {
        auto& window = static_cast<TForm8&>(dialog);
        folderShown = window.location();
        window.BitBtn1->click();
    });
    trigger("New1");
    EXPECT_EQ(folderShown, dir()) << "the removed folder gave way to its parent";

    // A folder removed while the window is up is named when OK is pressed; nothing is closed.
    fs::create_directory(albums.path() / "place");
    modals.onNextModal([this](QDialog& dialog) {
        auto& window = static_cast<TForm8&>(dialog);
        window.DirectoryListBox1->setDirectory(dir("place"));
        window.Edit1->setText("late");
        fs::remove(albums.path() / "place");
        window.BitBtn2->click();
    });
    trigger("New1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains(dir("place"))) << dialogs.errors[0].toStdString();
    EXPECT_FALSE(dialogs.errors[0].contains(".new"));
    EXPECT_EQ(openAlbumName(), "current.db");
}

TEST_F(AlbumsTest, AnAlbumCopiedFromOldMediaWithUpperCaseNamesOpens)
{
    createAlbum(albumDir(), "win", {{"upper", "a"}, {"", "b"}});
    for (const auto& [from, to] : {std::pair{"win.db", "WIN.DB"}, std::pair{"win1.db", "WIN1.DB"},
                                   std::pair{"win2.db", "WIN2.DB"}, std::pair{"win.mb", "WIN.MB"}})
        fs::rename(albums.path() / from, albums.path() / to);
    dialogs.answerPath(dir() + "/WIN.MB");
    trigger("Open1");
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(" / ").toStdString();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(db().Table1.recordCount(), 2);
    EXPECT_EQ(db().Table1.fieldByName("MEMO").asString(), "upper");
    // New does not take the name of an album that is there in other letters.
    answerNewDatabase(dir(), "WIN");
    trigger("New1");
    EXPECT_EQ(db().Table1.recordCount(), 2) << "nothing was made over it";
    EXPECT_TRUE(exists("WIN.MB"));
}
