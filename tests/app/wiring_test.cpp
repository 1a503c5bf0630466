// The map from every menu item, button, category label and check box of the main window to
// its command: each is used as a user would (the menu item triggered, the control clicked) and
// the visible effect shows which command ran. Two entries swapped in the map fail here.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QToolButton>

#include <fstream>
#include <functional>

#include "framework/dbcheckbox.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

// The designer's names of the category rows' controls, category 1 first.
QString nameLabel(int category)
{
    return QStringLiteral("RzDBLabel%1").arg(category <= 7 ? category : category + 7);
}
QString membershipBox(int category)
{
    return QStringLiteral("RzDBCheckBox%1")
        .arg(category <= 15   ? category + 2
             : category <= 17 ? category - 15
                              : category);
}

class WiringTest : public ProgramTest {
protected:
    void SetUp() override
    {
        // No scanner anywhere: SANE finds none quickly.
        const fs::path sane = albums.path() / "sane";
        fs::create_directory(sane);
        std::ofstream(sane / "dll.conf") << "";
        qputenv("SANE_CONFIG_DIR", sane.string().c_str());
        // Picture N (1..24) belongs to category N alone; picture 25 is marked and the only one
        // with a picture; 26 is plain.
        std::vector<TestPicture> pictures;
        for (int n = 1; n <= 26; ++n)
            pictures.push_back({"memo " + std::to_string(n), "picture " + std::to_string(n),
                                n <= 24 ? std::vector<int>{n} : std::vector<int>{}, n == 25,
                                n == 25 ? pictureFile(6, 5, Qt::blue) : QByteArray()});
        createAlbum(albumDir(), "wired", pictures);
        writeRegDb({264, 52, 742, 630, true, "wired", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    // The state every entry starts from: all pictures shown, the first current, nothing asked.
    void reset()
    {
        trigger("ShowChecked1");
        click("SpeedButton7");
        findBox().clear();
        dialogs.asked.clear();
        dialogs.errors.clear();
        form().state().ZoomStep = 0;
    }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    int markedCount()
    {
        int marked = 0;
        TTable& pictures = db().Table1;
        for (pictures.first(); !pictures.eof(); pictures.next())
            marked += pictures.fieldByName("MARK").asBoolean() ? 1 : 0;
        return marked;
    }
    // The one message the command showed.
    QString saidOnce()
    {
        if (dialogs.asked.size() != 1)
            return QStringLiteral("(%1 dialogs)").arg(dialogs.asked.size());
        return dialogs.asked.front().text + dialogs.asked.front().request.title;
    }
    // The command that is not there yet names itself.
    std::function<void()> says(const QString& words)
    {
        return [this, words] { EXPECT_TRUE(saidOnce().contains(words)) << saidOnce().toStdString(); };
    }
    // The one dialog the command asked, of this kind.
    const AskedDialog& askedOnce(const QString& kind)
    {
        static const AskedDialog none;
        EXPECT_EQ(dialogs.asked.size(), 1u);
        if (dialogs.asked.size() != 1)
            return none;
        EXPECT_EQ(dialogs.asked.front().kind, kind);
        return dialogs.asked.front();
    }
    // A save dialog offering this kind of file first.
    std::function<void()> savesAs(int filterIndex, const QString& extension)
    {
        return [this, filterIndex, extension] {
            const AskedDialog& asked = askedOnce("saveFile");
            EXPECT_EQ(asked.request.selectedFilter, filterIndex);
            EXPECT_EQ(asked.request.defaultSuffix, extension);
        };
    }
    // A batch export into a folder of its own.
    std::function<void()> exportsMarked(const QString& menuItem)
    {
        return [this, menuItem] {
            dialogs.answerPath(QString::fromStdString((albums.path() / menuItem.toStdString()).string()));
            fs::create_directory(albums.path() / menuItem.toStdString());
            trigger(menuItem);
        };
    }
    std::function<void()> wrote(const QString& menuItem, const char* file)
    {
        return [this, menuItem, file] {
            EXPECT_TRUE(fs::exists(albums.path() / menuItem.toStdString() / file));
            EXPECT_EQ(std::distance(fs::directory_iterator(albums.path() / menuItem.toStdString()), {}), 1);
        };
    }
    std::function<void()> cancelled(const char* menuItem)
    {
        return [this, menuItem] {
            dialogs.answerCancel();
            trigger(menuItem);
        };
    }
    // A modal window of the program opened (and was closed by the watcher), with the caption
    // given when one is.
    void expectWindow(const char* name, const QString& caption, const std::function<void()>& act)
    {
        QString opened;
        QString shownCaption;
        modals.onNextModal([&](QDialog& dialog) {
            opened = dialog.objectName();
            shownCaption = dialog.windowTitle();
            dialog.reject();
        });
        act();
        EXPECT_EQ(opened, name);
        if (!caption.isEmpty()) {
            EXPECT_EQ(shownCaption, caption) << name;
        }
    }
    void expectWindow(const char* name, const std::function<void()>& act) { expectWindow(name, {}, act); }
};

struct Entry {
    QString control;
    std::function<void()> act;
    std::function<void()> check;
};

} // namespace

TEST_F(WiringTest, EveryMenuItemRunsItsOwnCommand)
{
    QImage pasted(5, 4, QImage::Format_RGB32);
    pasted.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(pasted);
    const int records = db().Table1.recordCount();
    const auto menu = [this](const char* item) { return [this, item] { trigger(item); }; };
    const std::vector<Entry> entries{
        {"Open1",
         [this] {
             dialogs.answerCancel();
             trigger("Open1");
         },
         says("Open a Database")},
        {"Delete1",
         [this] {
             dialogs.answerCancel();
             trigger("Delete1");
         },
         says("Delete a Database")},
        {"New1", [this] { expectWindow("Form8", [this] { trigger("New1"); }); }, [] {}},
        {"Opties1", [this] { expectWindow("Form7", [this] { trigger("Opties1"); }); }, [] {}},
        {"Move1", [this] { expectWindow("Form9", "Move a database", [this] { trigger("Move1"); }); }, [] {}},
        {"Copy1", [this] { expectWindow("Form9", "copy / move", [this] { trigger("Copy1"); }); }, [] {}},
        {"ImportSingle1", [this] { expectWindow("MMOpenDialog1", [this] { trigger("ImportSingle1"); }); }, [] {}},
        {"ImportMulti1",
         [this] {
             dialogs.answerCancel();
             trigger("ImportMulti1");
         },
         [this] {
             ASSERT_EQ(dialogs.asked.size(), 1u);
             EXPECT_EQ(dialogs.asked[0].kind, "openFiles");
         }},
        {"ImportClipboard1", menu("ImportClipboard1"),
         [this, records] { EXPECT_EQ(db().Table1.recordCount(), records + 1); }},
        {"JPG1", cancelled("JPG1"), savesAs(0, "jpg")},
        {"GIF1", cancelled("GIF1"), savesAs(1, "gif")},
        {"BMP1", cancelled("BMP1"), savesAs(2, "bmp")},
        {"TIF1", cancelled("TIF1"), savesAs(3, "tif")},
        {"TGA1", cancelled("TGA1"), savesAs(4, "tga")},
        {"PCX1", cancelled("PCX1"), savesAs(5, "pcx")},
        {"PNG1", cancelled("PNG1"), savesAs(6, "png")},
        {"EPS1", cancelled("EPS1"), savesAs(7, "eps")},
        {"ExportClipboard1",
         [this] {
             trigger("ShowChecked1"); // the one picture
             QGuiApplication::clipboard()->clear();
             trigger("ExportClipboard1");
         },
         [] { EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(6, 5)); }},
        {"PrinterSetup1", cancelled("PrinterSetup1"), [this] { askedOnce("printerSetup"); }},
        {"Print1", cancelled("Print1"),
         [this] {
             askedOnce("print");
             EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked());
         }},
        // The first picture goes; the next one is shown.
        {"DeletePicture1", menu("DeletePicture1"),
         [this, records] {
             EXPECT_EQ(db().Table1.recordCount(), records);
             EXPECT_EQ(current(), "picture 2");
         }},
        {"ShowChecked1", menu("ShowChecked1"),
         [this] {
             EXPECT_EQ(current(), "picture 25");
             EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
         }},
        {"Print2", cancelled("Print2"),
         [this] {
             askedOnce("print");
             EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
             EXPECT_EQ(current(), "picture 25");
         }},
        {"asJPG1", exportsMarked("asJPG1"), wrote("asJPG1", "pic0001.jpg")},
        {"asGIF1", exportsMarked("asGIF1"), wrote("asGIF1", "pic0001.gif")},
        {"asBMP1", exportsMarked("asBMP1"), wrote("asBMP1", "pic0001.bmp")},
        {"asTIF1", exportsMarked("asTIF1"), wrote("asTIF1", "pic0001.tif")},
        {"asTGA1", exportsMarked("asTGA1"), wrote("asTGA1", "pic0001.tga")},
        {"asPCX1", exportsMarked("asPCX1"), wrote("asPCX1", "pic0001.pcx")},
        {"asPNG1", exportsMarked("asPNG1"), wrote("asPNG1", "pic0001.png")},
        {"asEPS1", exportsMarked("asEPS1"), wrote("asEPS1", "pic0001.eps")},
        {"MarkallPictures1", menu("MarkallPictures1"), [this] { EXPECT_EQ(markedCount(), db().Table1.recordCount()); }},
        {"Unmarkallpictures1", menu("Unmarkallpictures1"), [this] { EXPECT_EQ(markedCount(), 0); }},
        {"Select1", menu("Select1"), says("No scanner was found.")},
        // A scan first shows all pictures: the marked ones shown before are no longer alone.
        {"Scan1",
         [this] {
             trigger("ShowChecked1");
             trigger("Scan1");
         },
         [this] { EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked()); }},
        {"Labels1", [this] { expectWindow("Form2", [this] { trigger("Labels1"); }); }, [] {}},
        {"Processing1", [this] { expectWindow("EffectsWindow", [this] { trigger("Processing1"); }); }, [] {}},
        {"Help1", [this] { expectWindow("Form3", [this] { trigger("Help1"); }); }, [] {}},
        {"About1", [this] { expectWindow("Form5", [this] { trigger("About1"); }); }, [] {}},
    };
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.control.toStdString());
        reset();
        entry.act();
        entry.check();
    }
    trigger("Exit1");
    EXPECT_FALSE(form().isVisible()) << "Exit closes the window";
}

TEST_F(WiringTest, EveryButtonRunsItsOwnCommand)
{
    const std::vector<Entry> entries{
        {"SpeedButton1", [this] { click("SpeedButton1"); }, [this] { EXPECT_EQ(current(), "picture 26"); }},
        {"SpeedButton2", [this] { click("SpeedButton2"); }, [this] { EXPECT_EQ(current(), "picture 2"); }},
        // Find next finds; the plain step would find too, so the text decides where it lands.
        {"SpeedButton4",
         [this] {
             findBox().setText("memo 7");
             click("SpeedButton4");
         },
         [this] {
             EXPECT_EQ(current(), "picture 7");
             EXPECT_EQ(paneText("RzStatusPane4"), "Found");
         }},
        {"SpeedButton5", [this] { click("SpeedButton5"); }, [this] { EXPECT_EQ(form().state().ZoomStep, -1); }},
        {"SpeedButton6", [this] { click("SpeedButton6"); }, [this] { EXPECT_EQ(form().state().ZoomStep, 1); }},
        {"SpeedButton3", [this] { click("SpeedButton3"); },
         [this] {
             EXPECT_FALSE(form().state().SlideshowStopped);
             click("SpeedButton3");
         }},
        {"SpeedButton7",
         [this] {
             trigger("ShowChecked1");
             click("SpeedButton7");
         },
         [this] {
             EXPECT_EQ(current(), "picture 1");
             EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked());
         }},
        {"SpeedButton8", [this] { expectWindow("Form10", [this] { click("SpeedButton8"); }); }, [] {}},
        {"SpeedButton9", [this] { expectWindow("Form11", [this] { click("SpeedButton9"); }); }, [] {}},
        {"RzTrackBar1",
         [this] {
             positionBar().setValue(12);
             releasePositionBar();
         },
         [this] { EXPECT_EQ(current(), "picture 12"); }},
    };
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.control.toStdString());
        reset();
        entry.act();
        entry.check();
    }
    click("BitBtn1");
    EXPECT_FALSE(form().isVisible()) << "the exit button closes the window";
}

TEST_F(WiringTest, EveryCategoryLabelShowsItsCategoryAndEveryBoxSetsItsField)
{
    for (int category = 1; category <= 24; ++category) {
        SCOPED_TRACE(category);
        reset();
        click(nameLabel(category));
        EXPECT_EQ(current(), "picture " + std::to_string(category));
        EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
    }
    reset();
    click("SpeedButton1"); // picture 26, in no category and not marked
    for (int category = 1; category <= 24; ++category)
        click(membershipBox(category));
    click("RzDBCheckBox25");
    click("SpeedButton2"); // stores the record
    click("SpeedButton1");
    ASSERT_EQ(current(), "picture 26");
    for (int category = 1; category <= 24; ++category)
        EXPECT_TRUE(db().Table1.fieldByName(std::to_string(category)).asBoolean()) << category;
    EXPECT_TRUE(db().Table1.fieldByName("MARK").asBoolean());
    // And each box sets its own field only.
    for (int category = 1; category <= 24; ++category) {
        SCOPED_TRACE(category);
        click(membershipBox(category));
        for (int other = 1; other <= 24; ++other)
            EXPECT_EQ(db().Table1.fieldByName(std::to_string(other)).asBoolean(), other > category) << other;
    }
}
