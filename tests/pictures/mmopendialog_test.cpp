#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <functional>

#include "framework/directorylistbox.h"
#include "framework/filelistbox.h"
#include "framework/pathlabel.h"
#include "picturefiles.h"
#include "pictures/mmopendialog.h"
#include "pictures/picturepreview.h"
#include "support/modalwatcher.h"

class OpenDialogTest : public PictureFolder {
protected:
    void SetUp() override
    {
        savePicture("beach.jpg", {640, 480}, QColor(240, 200, 60));
        savePicture("cat.png", {120, 160}, Qt::gray);
        saveDamagedJpeg("broken.jpg");
        for (const char* name :
             {"c.jpeg", "d.TIF", "e.rtf", "f.tga", "g.eps", "h.dxf", "notes.txt", "i.heic", "j.AVIF", "k.webp"})
            makeFile(name);
        makeFolder("more");
        savePicture("more/dunes.jpg", {800, 600});
        dialog.directoryList()->setDirectory(path());
    }

    // Runs the window modally; `use` acts in it as the user would and must close it.
    std::optional<QString> execute(const std::function<void(TMMOpenDialog&)>& use)
    {
        ModalWatcher watcher;
        watcher.onNextModal([&](QDialog& shown) {
            EXPECT_EQ(&shown, &dialog);
            use(dialog);
        });
        std::optional<QString> chosen = dialog.execute();
        EXPECT_EQ(watcher.handled, 1);
        EXPECT_EQ(watcher.leftovers, 0) << "the window was left open";
        return chosen;
    }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < dialog.fileList()->count(); ++row)
            names.append(dialog.fileList()->item(row)->text());
        return names;
    }

    void chooseKind(const QString& label) { dialog.kindBox()->setCurrentIndex(dialog.kindBox()->findText(label)); }

    void clickFile(const QString& name, bool twice = false)
    {
        FileListBox* files = dialog.fileList();
        const QListWidgetItem* file = files->findItems(name, Qt::MatchExactly).value(0);
        const QPoint centre = files->visualItemRect(file).center();
        if (twice)
            doubleClick(files->viewport(), centre);
        else
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, centre);
    }

    bool waitForPreviewOf(const QString& name) const
    {
        const PicturePreview& preview = *dialog.preview();
        return QTest::qWaitFor(
            [&] { return preview.file() == path(name) && preview.state() != PicturePreview::State::Loading; });
    }

    TMMOpenDialog dialog;
};

TEST_F(OpenDialogTest, SeventeenKindsAllFirstAndChosenEachListingItsOwnFiles)
{
    const QStringList expected{"All", "BMP", "CMS", "GIF", "JPG", "PCX",  "PNG",  "RTF",  "SCM",
                               "TIF", "PCD", "WMF", "TGA", "HEIC", "HEIF", "AVIF", "WEBP"};
    QStringList offered;
    for (int index = 0; index < dialog.kindBox()->count(); ++index)
        offered.append(dialog.kindBox()->itemText(index));
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(dialog.kindBox()->currentIndex(), 0);
    EXPECT_EQ(dialog.kindBox()->itemData(0).toString(),
              "*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;*.PCD;*.WMF;*.TGA;*.HEIC;*.HEIF;*.AVIF;*.WEBP");

    // Without regard to case, and without .jpeg, RTF, EPS or DXF.
    EXPECT_EQ(listed(), QStringList({"beach.jpg", "broken.jpg", "cat.png", "d.TIF", "f.tga", "i.heic", "j.AVIF",
                                     "k.webp"}));
    chooseKind("RTF");
    EXPECT_EQ(listed(), QStringList({"e.rtf"}));
    chooseKind("PNG");
    EXPECT_EQ(listed(), QStringList({"cat.png"}));
    chooseKind("AVIF");
    EXPECT_EQ(listed(), QStringList({"j.AVIF"}));
}

TEST_F(OpenDialogTest, FirstUseOpensOnTheProgramsCurrentFolder)
{
    TMMOpenDialog fresh;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(path("more")));
    ModalWatcher watcher;
    QString shownFolder;
    QString labelText;
    watcher.onNextModal([&](QDialog&) {
        shownFolder = fresh.directoryList()->directory();
        labelText = fresh.findChild<PathLabel*>("FolderLabel")->text();
        fresh.reject();
    });
    EXPECT_EQ(fresh.execute(), std::nullopt);
    QDir::setCurrent(before);
    EXPECT_EQ(shownFolder, path("more"));
    EXPECT_EQ(labelText, path("more"));
}

TEST_F(OpenDialogTest, TabVisitsEveryControlAndEveryInputHasALabelShortcut)
{
    QList<QWidget*> labelled;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labelled.append(label->buddy());
    for (const char* name : {"FileListBox1", "FileKindComboBox", "DirectoryListBox1", "DriveComboBox1"})
        EXPECT_TRUE(labelled.contains(dialog.findChild<QWidget*>(name))) << name;

    dialog.fileList()->selectFile("cat.png"); // OK takes no focus while it is disabled
    QStringList visited;
    execute([&](TMMOpenDialog& window) {
        // Keys go where the focus is, and only an active window has it.
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        for (int step = 0; step < 7; ++step) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            visited.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        window.reject();
    });
    EXPECT_EQ(visited, QStringList({"FileListBox1", "FileKindComboBox", "DirectoryListBox1", "DriveComboBox1",
                                    "OkButton", "CancelButton", "FileListBox1"}));
}

TEST_F(OpenDialogTest, SelectingAFileShowsItsPathAndPreviewAndOkChoosesIt)
{
    EXPECT_FALSE(dialog.okButton()->isEnabled()) << "nothing is selected yet";
    const std::optional<QString> chosen = execute([&](TMMOpenDialog& window) {
        clickFile("beach.jpg");
        EXPECT_EQ(window.statusLine()->text(), path("beach.jpg"));
        ASSERT_TRUE(waitForPreviewOf("beach.jpg"));
        EXPECT_EQ(window.preview()->state(), PicturePreview::State::Shown);
        EXPECT_EQ(window.preview()->pictureSize(), QSize(640, 480));
        QTest::mouseClick(window.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(chosen, path("beach.jpg"));
}

TEST_F(OpenDialogTest, DamagedFileShowsNoPreviewAndTheWindowGoesOn)
{
    const std::optional<QString> chosen = execute([&](TMMOpenDialog& window) {
        clickFile("broken.jpg");
        ASSERT_TRUE(waitForPreviewOf("broken.jpg"));
        EXPECT_EQ(window.preview()->state(), PicturePreview::State::NoPreview);
        EXPECT_EQ(window.preview()->findChild<QLabel*>("PreviewPicture")->text(), "No preview");
        EXPECT_TRUE(window.preview()->findChild<QLabel*>("PreviewSize")->text().isEmpty());
        clickFile("cat.png");
        ASSERT_TRUE(waitForPreviewOf("cat.png"));
        EXPECT_EQ(window.preview()->pictureSize(), QSize(120, 160));
        QTest::keyClick(window.fileList(), Qt::Key_Return);
    });
    EXPECT_EQ(chosen, path("cat.png"));
}

TEST_F(OpenDialogTest, DoubleClickChoosesCancelAndEnterWithoutSelectionDoNot)
{
    EXPECT_EQ(execute([&](TMMOpenDialog&) { clickFile("cat.png", true); }), path("cat.png"));
    EXPECT_EQ(execute([&](TMMOpenDialog& window) {
                  QTest::mouseClick(window.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
              }),
              std::nullopt);
    EXPECT_EQ(execute([&](TMMOpenDialog& window) {
                  window.fileList()->clearSelection();
                  QTest::keyClick(window.fileList(), Qt::Key_Return);
                  EXPECT_TRUE(window.isVisible());
                  window.accept(); // as OK would, were it not disabled
              }),
              std::nullopt);
}

TEST_F(OpenDialogTest, KeepsFolderKindAndSelectionBetweenUses)
{
    execute([&](TMMOpenDialog& window) {
        window.directoryList()->setDirectory(path("more"));
        chooseKind("JPG");
        window.fileList()->selectFile("dunes.jpg");
        window.accept();
    });
    savePicture("more/added.jpg", {10, 10});
    savePicture("more/skipped.png", {10, 10});

    const std::optional<QString> second = execute([&](TMMOpenDialog& window) {
        EXPECT_EQ(window.directoryList()->directory(), path("more"));
        EXPECT_EQ(window.kindBox()->currentText(), "JPG");
        EXPECT_EQ(window.statusLine()->text(), path("more/dunes.jpg"));
        EXPECT_EQ(listed(), QStringList({"added.jpg", "dunes.jpg"})) << "the folder is read again";
        EXPECT_TRUE(waitForPreviewOf("more/dunes.jpg"));
        EXPECT_EQ(window.preview()->pictureSize(), QSize(800, 600));
        window.accept();
    });
    EXPECT_EQ(second, path("more/dunes.jpg"));
}

TEST_F(OpenDialogTest, RtfFilesCanBeChosenWithoutPreview)
{
    const std::optional<QString> chosen = execute([&](TMMOpenDialog& window) {
        chooseKind("RTF");
        clickFile("e.rtf");
        ASSERT_TRUE(waitForPreviewOf("e.rtf"));
        EXPECT_EQ(window.preview()->state(), PicturePreview::State::NoPreview);
        QTest::mouseClick(window.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(chosen, path("e.rtf"));
}
