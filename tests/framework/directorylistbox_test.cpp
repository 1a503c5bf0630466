#include <QDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <optional>
#include <sys/fsuid.h>
#include <unistd.h>

#include "folderfixture.h"
#include "framework/directorylistbox.h"
#include "framework/drivecombobox.h"
#include "framework/filelistbox.h"
#include "framework/pathlabel.h"
#include "framework/userinput.h"
#include "framework/volumes.h"

namespace {

// Checks file access as another user on this thread for as long as it lives.
class FileSystemUser {
public:
    explicit FileSystemUser(uid_t user) : previous_(static_cast<uid_t>(setfsuid(user))) {}
    ~FileSystemUser() { setfsuid(previous_); }
    FileSystemUser(const FileSystemUser&) = delete;
    FileSystemUser& operator=(const FileSystemUser&) = delete;

private:
    uid_t previous_;
};

// The entries a user sees, from the top, each with its depth in the tree.
QList<std::pair<QString, int>> entries(const DirectoryListBox& list)
{
    QList<std::pair<QString, int>> found;
    for (QModelIndex index = list.model()->index(0, 0); index.isValid(); index = list.indexBelow(index)) {
        int depth = 0;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            ++depth;
        found.append({index.data().toString(), depth});
    }
    return found;
}

QRect entryRect(const DirectoryListBox& list, const QString& text)
{
    const QList<QTreeWidgetItem*> found = list.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QRect() : list.visualItemRect(found.first());
}

} // namespace

class DirectoryListBoxTest : public FolderFixture {
protected:
    void SetUp() override
    {
        for (const char* folder : {"album/beach", "album/Cats", "album/ants", "album/.cache"})
            makeFolder(folder);
        makeFile("album/photo.jpg");
    }
    DirectoryListBox list;
};

TEST_F(DirectoryListBoxTest, ShowsTheChainFromTheVolumeRootThenTheSortedSubfolders)
{
    QSignalSpy changed(&list, &DirectoryListBox::directoryChanged);
    list.setDirectory(path("album") + "/");
    EXPECT_EQ(list.directory(), path("album"));
    EXPECT_EQ(changed.count(), 1);

    const QString root = volumeRootOf(path("album"));
    const QStringList chain = QStringList{root} + QDir(root).relativeFilePath(path("album")).split('/');
    QList<std::pair<QString, int>> expected;
    for (int depth = 0; depth < chain.size(); ++depth)
        expected.append({chain[depth], depth});
    // Sorted without regard to case; hidden folders and files are left out.
    const int below = static_cast<int>(chain.size());
    for (const char* name : {"ants", "beach", "Cats"})
        expected.append({name, below});
    EXPECT_EQ(entries(list), expected);
    EXPECT_EQ(list.currentItem()->data(0, Qt::UserRole).toString(), path("album"));

    list.setDirectory(path("album/gone/deeper")); // falls back to what still exists
    EXPECT_EQ(list.directory(), path("album"));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(DirectoryListBoxTest, DoubleClickOpensSubfoldersAndParentsEnterTooButNotTheDefaultButton)
{
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* folders = new DirectoryListBox(&window);
    auto* ok = new QPushButton("OK", &window);
    ok->setDefault(true);
    layout->addWidget(folders);
    layout->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
    window.resize(300, 600);
    folders->setDirectory(path("album"));
    window.show();

    doubleClick(folders->viewport(), entryRect(*folders, "beach").center());
    EXPECT_EQ(folders->directory(), path("album/beach"));
    EXPECT_EQ(entries(*folders).last().first, "beach");
    doubleClick(folders->viewport(), entryRect(*folders, "album").center());
    EXPECT_EQ(folders->directory(), path("album"));

    QTest::keyClick(folders, Qt::Key_Down); // from "album" to its first subfolder
    QTest::keyClick(folders, Qt::Key_Return);
    EXPECT_EQ(folders->directory(), path("album/ants"));
    EXPECT_EQ(window.result(), QDialog::Rejected) << "the key also reached the default button";
}

TEST_F(DirectoryListBoxTest, RefreshShowsNewFoldersAndLeavesADeletedOne)
{
    list.setDirectory(path("album/beach"));
    makeFolder("album/beach/sunset");
    list.refresh();
    EXPECT_EQ(entries(list).last().first, "sunset");

    ASSERT_TRUE(QDir(path("album/beach")).removeRecursively());
    list.refresh();
    EXPECT_EQ(list.directory(), path("album"));
}

TEST_F(DirectoryListBoxTest, AFolderThatCannotBeListedIsShownEmpty)
{
    makeFolder("album/locked/inside");
    const auto restore = qScopeGuard([this] {
        QFile::setPermissions(path("album/locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    ASSERT_TRUE(QFile::setPermissions(path("album/locked"), QFileDevice::Permissions()));
    // Root reads any folder; as another file-system user (this thread only) it reads none that
    // is locked, once the way to it is open to everybody.
    std::optional<FileSystemUser> nobody;
    if (geteuid() == 0) {
        ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ExeGroup | QFile::ExeOther));
        nobody.emplace(65534);
    }
    if (!QDir(path("album/locked")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
        GTEST_SKIP() << "running with rights that read any folder";
    list.setDirectory(path("album/locked"));
    EXPECT_EQ(list.directory(), path("album/locked"));
    EXPECT_EQ(entries(list).last().first, "locked");
}

TEST_F(DirectoryListBoxTest, AttachedControlsFollowTheCurrentFolder)
{
    DriveComboBox drives;
    PathLabel label;
    FileListBox files;
    list.setDirectory(path("album"));
    list.attachDriveComboBox(&drives);
    list.attachLabel(&label);
    list.attachFileListBox(&files);
    EXPECT_EQ(label.text(), path("album"));
    EXPECT_EQ(files.directory(), path("album"));
    EXPECT_EQ(drives.drive(), volumeRootOf(path("album")));

    list.setDirectory(path("album/Cats"));
    EXPECT_EQ(label.text(), path("album/Cats"));
    EXPECT_EQ(files.directory(), path("album/Cats"));

    emit drives.driveChanged(QStringLiteral("/")); // choosing a volume opens its root
    EXPECT_EQ(list.directory(), "/");
    EXPECT_EQ(files.directory(), "/");
}

TEST(PathLabel, ShortensALongPathInTheMiddleButKeepsItWhole)
{
    PathLabel label;
    const QString path = "/home/anna/Pictures/holidays/2023/summer/beach-and-dunes/IMG_4711.JPG";
    label.setText(path);
    label.resize(label.fontMetrics().horizontalAdvance(path) / 2, 20);
    EXPECT_EQ(label.text(), path);
    EXPECT_LT(label.shownText().size(), path.size());
    EXPECT_TRUE(label.shownText().startsWith("/home"));
    EXPECT_TRUE(label.shownText().endsWith("IMG_4711.JPG"));
}

TEST_F(DirectoryListBoxTest, ARemovedCurrentFolderGivesTheRootInsteadOfHanging)
{
    const QString started = QDir::currentPath();
    const auto back = qScopeGuard([&started] { QDir::setCurrent(started); });
    makeFolder("gone");
    ASSERT_TRUE(QDir::setCurrent(path("gone")));
    ASSERT_TRUE(QDir().rmdir(path("gone")));
    list.setDirectory(QDir::currentPath());
    EXPECT_EQ(list.directory(), QDir::rootPath());
    list.setDirectory(QStringLiteral("relative/name"));
    EXPECT_EQ(list.directory(), QDir::rootPath());
}
