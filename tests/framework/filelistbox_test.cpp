#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "folderfixture.h"
#include "framework/filelistbox.h"
#include "framework/userinput.h"

namespace {

QStringList names(const FileListBox& list)
{
    QStringList shown;
    for (int row = 0; row < list.count(); ++row)
        shown.append(list.item(row)->text());
    return shown;
}

QPoint centreOf(const FileListBox& list, const QString& name)
{
    return list.visualItemRect(list.findItems(name, Qt::MatchExactly).value(0)).center();
}

QStringList spiedPaths(const QSignalSpy& spy)
{
    QStringList paths;
    for (const QList<QVariant>& call : spy)
        paths.append(call.at(0).toString());
    return paths;
}

} // namespace

class FileListBoxTest : public FolderFixture {
protected:
    void SetUp() override
    {
        for (const char* name : {"b.jpg", "A.BMP", "c.Jpg", "d.png", "e.jpeg", ".hidden.jpg", "notes.txt"})
            makeFile(name);
        makeFolder("folder.jpg");
        list.setMask("*.BMP;*.JPG");
        list.setDirectory(path() + "/");
    }

    FileListBox list;
};

TEST_F(FileListBoxTest, ListsMatchingFilesWithoutRegardToCaseSortedByName)
{
    EXPECT_EQ(names(list), QStringList({"A.BMP", "b.jpg", "c.Jpg"}));
    list.setMask(" *.png ; *.JPEG ;");
    EXPECT_EQ(names(list), QStringList({"d.png", "e.jpeg"}));
    list.setMask({});
    EXPECT_EQ(names(list), QStringList({"A.BMP", "b.jpg", "c.Jpg", "d.png", "e.jpeg", "notes.txt"}));
}

TEST_F(FileListBoxTest, SelectionIsReportedWithTheFullPathAndKeptWhileStillListed)
{
    QSignalSpy selected(&list, &FileListBox::fileSelected);
    EXPECT_TRUE(list.selectedFilePath().isEmpty());
    list.selectFile("b.jpg");
    EXPECT_EQ(list.selectedFilePath(), path("b.jpg"));
    list.setMask("*.jpg"); // still listed: kept without a report
    makeFile("a.jpg");
    list.refresh();
    EXPECT_EQ(names(list), QStringList({"a.jpg", "b.jpg", "c.Jpg"}));
    list.setMask("*.bmp"); // gone: reported as nothing selected
    EXPECT_EQ(spiedPaths(selected), QStringList({path("b.jpg"), QString()}));

    list.selectFile("A.BMP");
    list.setDirectory(path("folder.jpg"));
    EXPECT_TRUE(list.selectedFilePath().isEmpty());
}

TEST_F(FileListBoxTest, ClicksSelectAgainAndDoubleClickOrEnterActivate)
{
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* files = new FileListBox(&window);
    auto* ok = new QPushButton("OK", &window);
    ok->setDefault(true);
    layout->addWidget(files);
    layout->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
    files->setDirectory(path());
    window.show();
    QSignalSpy selected(files, &FileListBox::fileSelected);
    QSignalSpy activated(files, &FileListBox::fileActivated);

    // A click on the selected file counts again: windows reset around a kept selection.
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, centreOf(*files, "b.jpg"));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, centreOf(*files, "b.jpg"));
    EXPECT_EQ(spiedPaths(selected), QStringList({path("b.jpg"), path("b.jpg")}));

    doubleClick(files->viewport(), centreOf(*files, "c.Jpg"));
    QTest::keyClick(files, Qt::Key_Return);
    EXPECT_EQ(spiedPaths(activated), QStringList({path("c.Jpg"), path("c.Jpg")}));
    EXPECT_EQ(window.result(), QDialog::Rejected) << "the key also reached the default button";

    files->clearSelection(); // with nothing selected the key is the window's
    QTest::keyClick(files, Qt::Key_Return);
    EXPECT_EQ(activated.count(), 2);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}
