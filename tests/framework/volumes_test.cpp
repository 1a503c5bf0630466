#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "framework/drivecombobox.h"
#include "framework/volumes.h"

TEST(Volumes, KeepUserFileSystemsAndDropSystemPlumbing)
{
    EXPECT_TRUE(isBrowsableVolume("/", "overlay"));
    EXPECT_TRUE(isBrowsableVolume("/", "tmpfs")); // a live system's root is still the root
    EXPECT_TRUE(isBrowsableVolume("/home", "btrfs"));
    EXPECT_TRUE(isBrowsableVolume("/run/media/anna/USB", "exfat"));
    EXPECT_TRUE(isBrowsableVolume("/mnt/nas", "fuse.sshfs"));
    EXPECT_TRUE(isBrowsableVolume("/devices", "ext4")); // only /dev itself is a system folder

    EXPECT_FALSE(isBrowsableVolume("/proc", "proc"));
    EXPECT_FALSE(isBrowsableVolume("/sys/fs/cgroup/unified", "cgroup2"));
    EXPECT_FALSE(isBrowsableVolume("/dev/shm", "tmpfs"));
    EXPECT_FALSE(isBrowsableVolume("/run/user/1000/gvfs", "fuse.gvfsd-fuse"));
    EXPECT_FALSE(isBrowsableVolume("/snap/core22/864", "squashfs"));
    EXPECT_FALSE(isBrowsableVolume("/run/lock", "ext4"));

    EXPECT_FALSE(isWithinFolder("/media/usb2/photos", "/media/usb"));
}

TEST(Volumes, ListHoldsRootAndHomeVolumeOnceEach)
{
    QStringList roots;
    for (const Volume& volume : browsableVolumes()) {
        EXPECT_TRUE(QFileInfo(volume.rootPath).isDir()) << volume.rootPath.toStdString();
        roots.append(volume.rootPath);
    }
    EXPECT_EQ(roots.count("/"), 1);
    EXPECT_EQ(roots.count(volumeRootOf(QDir::homePath())), 1);
    EXPECT_EQ(roots.removeDuplicates(), 0);
}

TEST(DriveComboBox, FollowsPathsSilentlyAndReportsTheUsersChoice)
{
    DriveComboBox drives;
    QSignalSpy changed(&drives, &DriveComboBox::driveChanged);
    drives.setDrive(QDir::homePath() + "/");
    EXPECT_EQ(drives.drive(), volumeRootOf(QDir::cleanPath(QDir::homePath())));
    drives.setDrive("/");
    EXPECT_EQ(drives.drive(), "/");
    EXPECT_EQ(changed.count(), 0);

    const int last = drives.count() - 1;
    emit drives.activated(last); // what the box sends when the user picks an entry
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), drives.itemData(last).toString());
}
