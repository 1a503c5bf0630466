// Start-up and shutdown round trips through a private reg.db.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>

#include <QAccessible>
#include <QLabel>

#include <fstream>

#include "data/schema.h"
#include "framework/statuspanes.h"
#include "imaging/pdbmultiimage.h"
#include "programfixture.h"
#include "support/filesizelimit.h"

TEST_F(ProgramTest, GeometryIsRestoredAtStartAndSavedAtShutdown)
{
    writeRegDb({100, 80, 780, 640});
    start();
    EXPECT_EQ(form().frameGeometry(), QRect(100, 80, 780, 640)) << "the stored size is the outer size";
    EXPECT_EQ(form().windowTitle(), "Kadrix");
    EXPECT_FALSE(databaseCommandsEnabled());
    EXPECT_TRUE(control<QToolButton>("SpeedButton2").isChecked());

    form().move(150, 90);
    form().resize(800, 600);
    const QRect outer = form().frameGeometry();
    stop();
    const RegValues saved = readRegDb();
    EXPECT_EQ(saved.x, 150);
    EXPECT_EQ(saved.y, 90);
    EXPECT_EQ(saved.dx, outer.width());
    EXPECT_EQ(saved.dy, outer.height());
}

TEST_F(ProgramTest, TheLowerPaneKeepsItsHeightAsTheWindowIsSized)
{
    // The splitter bar sits 220 pixels above the window's outer bottom edge.
    const auto barPosition = [this] { return control<QSplitter>("RzSplitter3").sizes().constFirst(); };
    writeRegDb({264, 52, 742, 630});
    start();
    EXPECT_EQ(barPosition(), form().frameGeometry().height() - 220) << "at the stored size";
    const int lowerPane = control<QSplitter>("RzSplitter3").sizes().constLast();
    form().resize(form().width(), form().height() + 150);
    EXPECT_EQ(barPosition(), form().frameGeometry().height() - 220);
    EXPECT_EQ(control<QSplitter>("RzSplitter3").sizes().constLast(), lowerPane);
}

TEST_F(ProgramTest, AMaximisedWindowKeepsTheGeometrySavedEarlier)
{
    writeRegDb({100, 80, 780, 640});
    start();
    form().showMaximized();
    stop();
    const RegValues saved = readRegDb();
    EXPECT_EQ(saved.x, 100);
    EXPECT_EQ(saved.dx, 780);
    EXPECT_EQ(saved.dy, 640);
}

TEST_F(ProgramTest, AMissingRegDbIsReportedInTheCaptionAndTheProgramRunsOn)
{
    start();
    EXPECT_EQ(form().windowTitle(), "Error: Reg.db not found (FormActivate)");
    EXPECT_EQ(form().size(), QSize(742, 630)) << "the design size stays";
    EXPECT_FALSE(form().albumOpen());
    EXPECT_FALSE(databaseCommandsEnabled());
    EXPECT_TRUE(dialogs.errors.isEmpty());
    stop();
    EXPECT_FALSE(std::filesystem::exists(config.path() / "kadrix" / "reg.db")) << "the program never creates reg.db";
}

TEST_F(ProgramTest, TheRememberedAlbumReopensWithItsDirectoryAsGiven)
{
    createAlbum(albumDir(), "album.2004", {{"first", "one.jpg"}, {"second", "two.jpg"}});
    const std::string withSeparator = albumDir() + "/";
    writeRegDb({264, 52, 742, 630, true, "album.2004", withSeparator});
    start();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_EQ(form().windowTitle(), "Kadrix");
    EXPECT_EQ(paneText("RzStatusPane1"), "album.2004");
    EXPECT_EQ(paneText("RzStatusPane3"), "1");
    EXPECT_TRUE(databaseCommandsEnabled());
    stop();

    RegValues saved = readRegDb();
    EXPECT_EQ(saved.database, "album.2004");
    EXPECT_EQ(saved.path, withSeparator);

    // And once more without the trailing separator: that form is kept too.
    writeRegDb({264, 52, 742, 630, true, "album.2004", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    stop();
    EXPECT_EQ(readRegDb().path, albumDir());
}

TEST_F(ProgramTest, AFailingRememberedAlbumIsReportedAndNotTriedAgain)
{
    writeRegDb({264, 52, 742, 630, true, "gone", albumDir()});
    start();
    EXPECT_EQ(form().windowTitle(), "Error: Default database not found (FormActivate)");
    EXPECT_FALSE(form().albumOpen());
    stop();
    EXPECT_FALSE(readRegDb().autoOpen);

    start();
    EXPECT_EQ(form().windowTitle(), "Kadrix");
    stop();
}

TEST_F(ProgramTest, ClosingWithoutAnAlbumLeavesTheRememberedOneAlone)
{
    writeRegDb({264, 52, 742, 630, false, "holiday", "/photos"});
    start();
    EXPECT_FALSE(form().albumOpen());
    stop();
    const RegValues saved = readRegDb();
    EXPECT_EQ(saved.database, "holiday");
    EXPECT_EQ(saved.path, "/photos");
}

TEST_F(ProgramTest, PendingEditsAreStoredEvenWhenRegDbCannotBeWritten)
{
    createAlbum(albumDir(), "trip", {{"old memo", "a.jpg"}});
    writeRegDb({264, 52, 742, 630, true, "trip", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    db().Table1.edit();
    db().Table1.fieldByName("MEMO").setAsString("typed before closing");
    db().Reg.close(); // every write to reg.db now fails
    stop();

    TTable pictures;
    pictures.setDatabaseName(albumDir());
    pictures.setTableName("trip.db");
    pictures.open();
    EXPECT_EQ(pictures.fieldByName("MEMO").asString(), "typed before closing");
}

TEST_F(ProgramTest, ASecondInstanceCannotTakeTheOpenAlbumAndTheFirstLosesNothing)
{
    createAlbum(albumDir(), "shared", {{"memo", "a.jpg"}});
    writeRegDb({264, 52, 742, 630, true, "shared", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());

    ScriptedDialogService otherDialogs;
    Program second(otherDialogs);
    second.Form1().FormActivate();
    EXPECT_EQ(second.Form1().windowTitle(), "Error: Default database not found (FormActivate)");
    EXPECT_FALSE(second.Form1().albumOpen());

    EXPECT_TRUE(form().albumOpen());
    EXPECT_EQ(db().Table1.fieldByName("MEMO").asString(), "memo");
}

TEST_F(ProgramTest, ProgressShowsZeroOddPercentagesAndTheEnd)
{
    start();
    std::vector<int> shown;
    QObject::connect(&progressBar(), &QProgressBar::valueChanged, [&](int value) { shown.push_back(value); });
    progressBar().setPercent(42);
    shown.clear();
    for (int percent : {0, 2, 3, 50, 51, 100}) {
        bool abort = true;
        form().PDBMultiImage1Progress(percent, {}, &abort);
        EXPECT_FALSE(abort);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 3, 51, 100}));
}

TEST_F(ProgramTest, TypingWithoutAnAlbumAsksForOneToOpen)
{
    start();
    dialogs.answerCancel();
    QTest::keyClick(&form(), Qt::Key_K, Qt::NoModifier);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].request.title, "Open a Database");
    EXPECT_EQ(dialogs.asked[0].request.filters, QStringList{"Databases (*.mb)"});
}

TEST_F(ProgramTest, EachCharacterKeyWithoutAnAlbumAsksOnceWhereverItIsTyped)
{
    start();
    QWidget* picture = &pictureView();
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    picture->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), picture);
    // A real dialog takes the focus away while it is up.
    dialogs.whileShown = [] {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
    };
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Escape}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        dialogs.asked.clear();
        dialogs.answerCancel();
        picture->setFocus();
        QTest::keyClick(picture, key);
        EXPECT_EQ(dialogs.asked.size(), 1u);
    }
    dialogs.asked.clear();
    QTest::keyClick(&findBox(), Qt::Key_Tab);
    QTest::keyClick(&findBox(), Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(dialogs.asked.empty()) << "moving the focus and menu access keys are not typing";
}

TEST_F(ProgramTest, AnErrorEscapingACommandIsShownAndTheProgramGoesOn)
{
    start();
    click("SpeedButton4"); // find next without an album: the closed-table error
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("closed table"));
    EXPECT_TRUE(form().isEnabled());
}

TEST_F(ProgramTest, AStartThatEndedWhileOpeningTheRememberedAlbumIsNotRepeated)
{
    createAlbum(albumDir(), "album", {{"", "a", {}, false, pictureFile(20, 20, Qt::red)}});
    writeRegDb({264, 52, 742, 630, true, "album", albumDir()});
    // What a start that crashed while opening the album leaves behind.
    std::ofstream(config.path() / "kadrix" / "reg.db.opening") << "opening\n";
    start();
    EXPECT_EQ(form().windowTitle(), "Error: Default database not found (FormActivate)");
    EXPECT_FALSE(form().albumOpen());
    stop();
    EXPECT_FALSE(readRegDb().autoOpen);
    EXPECT_FALSE(std::filesystem::exists(config.path() / "kadrix" / "reg.db.opening"));
}

TEST_F(ProgramTest, TheOpeningNoteGoesOnceTheFirstPictureIsShown)
{
    createAlbum(albumDir(), "album", {{"", "a", {}, false, pictureFile(20, 20, Qt::red)}});
    writeRegDb({264, 52, 742, 630, true, "album", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    control<TPDBMultiImage>("PDBMultiImage1").waitForDisplay();
    EXPECT_FALSE(std::filesystem::exists(config.path() / "kadrix" / "reg.db.opening"));
    stop();
    EXPECT_TRUE(readRegDb().autoOpen);
}

TEST_F(ProgramTest, AnAlbumWhosePathIsTooLongForRegDbIsNotRememberedCutAndTheUserIsTold)
{
    // reg.db as older set-ups made it: 80 bytes for the album's name and folder.
    {
        TTable reg;
        reg.setDatabaseName((config.path() / "kadrix").string());
        reg.setTableName("reg.db");
        std::filesystem::create_directories(config.path() / "kadrix");
        reg.fieldDefs = schema::appSettingsTableFields();
        for (TFieldDef& def : reg.fieldDefs)
            if (def.name == "DATABASE" || def.name == "PATH")
                def.size = 80;
        reg.createTable();
        reg.open();
        reg.append();
        reg.fieldByName("X").setAsInteger(264);
        reg.fieldByName("DATABASE").setAsString("earlier");
        reg.fieldByName("PATH").setAsString("/photos");
        reg.refresh();
    }
    const std::filesystem::path deep = albums.path() / std::string(90, 'd');
    std::filesystem::create_directories(deep);
    createAlbum(deep.string(), "deep", {{"", "a"}});
    start();
    dialogs.answerPath(QString::fromStdString((deep / "deep.mb").string()));
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen());
    stop();
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1].kind, "information");
    EXPECT_TRUE(dialogs.asked[1].text.contains("\"deep\"")) << dialogs.asked[1].text.toStdString();
    const RegValues saved = readRegDb();
    EXPECT_EQ(saved.database, "earlier") << "the album remembered before stays";
    EXPECT_EQ(saved.path, "/photos");
}

TEST_F(ProgramTest, NewSettingsTablesHoldLongAlbumPaths)
{
    const std::filesystem::path deep = albums.path() / std::string(150, 'd');
    std::filesystem::create_directories(deep);
    createAlbum(deep.string(), "deep", {{"", "a"}});
    writeRegDb({264, 52, 742, 630, true, "deep", deep.string()});
    start();
    ASSERT_TRUE(form().albumOpen());
    stop();
    EXPECT_EQ(readRegDb().path, deep.string());
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ProgramTest, ChangesThatCannotBeStoredAtShutdownAreToldBeforeTheWindowCloses)
{
    createAlbum(albumDir(), "album", {{"", "a"}});
    writeRegDb({264, 52, 742, 630, true, "album", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    TTable& pictures = db().Table1;
    pictures.append();
    pictures.fieldByName("FOTO").setAsBytes(paradox::Bytes(2 << 20, 7));
    {
        const FileSizeLimit diskFull(1 << 20);
        stop();
    }
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("could not be stored")) << dialogs.errors[0].toStdString();
}

TEST_F(ProgramTest, CategoryLabelsAreBlankForANewAlbumAndNamedOnceTheCategoryTableHasARecord)
{
    createAlbum(albumDir(), "album", {{"", "a"}});
    writeRegDb({264, 52, 742, 630, true, "album", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    QWidget& firstLabel = control<QWidget>("RzDBLabel1");
    QWidget& lastLabel = control<QWidget>("RzDBLabel31");
    EXPECT_TRUE(static_cast<QLabel&>(firstLabel).text().isEmpty());
    TTable& names = db().Table2;
    names.edit();
    names.fieldByName("1").setAsString("Holiday");
    names.fieldByName("24").setAsString("Family");
    names.refresh();
    EXPECT_EQ(static_cast<QLabel&>(firstLabel).text(), "Holiday");
    EXPECT_EQ(static_cast<QLabel&>(lastLabel).text(), "Family");
    // What assistive tools read is the name the user sees.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&firstLabel)->text(QAccessible::Name), "Holiday");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&lastLabel)->text(QAccessible::Name), "Family");
}

TEST_F(ProgramTest, TheOpenFileWindowsListsHaveNames)
{
    startWithoutActivation();
    QWidget& window = control<QWidget>("MMOpenDialog1");
    for (const char* name : {"DriveComboBox1", "DirectoryListBox1", "FileListBox1", "FileKindComboBox", "Preview"}) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(&widgetNamed<QWidget>(window, name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_FALSE(control->text(QAccessible::Name).isEmpty()) << name;
    }
}
