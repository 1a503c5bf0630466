#include "framework/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace {

// File systems that never hold a user's pictures: kernel interfaces, memory-backed folders and
// packaged read-only images (snaps).
bool isSystemFileSystem(const QByteArray& type)
{
    static const QByteArrayList types{
        "autofs",     "binfmt_misc", "bpf",      "cgroup",  "cgroup2",         "configfs",   "debugfs",
        "devpts",     "devtmpfs",    "efivarfs", "fusectl", "fuse.gvfsd-fuse", "fuse.lxcfs", "fuse.portal",
        "hugetlbfs",  "mqueue",      "nsfs",     "proc",    "pstore",          "ramfs",      "rpc_pipefs",
        "securityfs", "squashfs",    "sysfs",    "tmpfs",   "tracefs"};
    return types.contains(type);
}

// Mount points of the system itself; removable media under /run/media are the user's.
bool inSystemFolder(const QString& rootPath)
{
    if (isWithinFolder(rootPath, QStringLiteral("/run/media")))
        return false;
    static const QStringList folders{"/proc", "/sys", "/dev", "/run", "/snap", "/var/lib"};
    return std::any_of(folders.begin(), folders.end(),
                       [&](const QString& folder) { return isWithinFolder(rootPath, folder); });
}

} // namespace

bool isWithinFolder(const QString& path, const QString& folder)
{
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool isBrowsableVolume(const QString& rootPath, const QByteArray& fileSystemType)
{
    if (rootPath == QLatin1String("/"))
        return true;
    return !isSystemFileSystem(fileSystemType) && !inSystemFolder(rootPath);
}

QString volumeRootOf(const QString& folder)
{
    const QString root = QStorageInfo(folder).rootPath();
    // A folder reached through a symbolic link may lie on a volume whose root is not a prefix of
    // the path as given; the chain from "/" is always right.
    return !root.isEmpty() && isWithinFolder(folder, root) ? root : QStringLiteral("/");
}

QList<Volume> browsableVolumes()
{
    QList<Volume> volumes;
    const auto add = [&](const QString& root, const QString& name) {
        const bool known =
            std::any_of(volumes.begin(), volumes.end(), [&](const Volume& volume) { return volume.rootPath == root; });
        if (!known)
            volumes.append({root, name});
    };
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        // Container runtimes bind-mount single files (resolv.conf, hostname) as volumes.
        if (storage.isValid() && storage.isReady() && QFileInfo(storage.rootPath()).isDir() &&
            isBrowsableVolume(storage.rootPath(), storage.fileSystemType()))
            add(storage.rootPath(), storage.name());
    }
    add(QStringLiteral("/"), {});
    const QStorageInfo home(QDir::homePath());
    add(volumeRootOf(QDir::homePath()), home.name());
    std::sort(volumes.begin(), volumes.end(), [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return volumes;
}
