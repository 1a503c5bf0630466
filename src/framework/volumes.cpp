#include "framework/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <array>

namespace {

// File systems that never hold a user's files.
constexpr std::array<const char*, 24> pseudoFileSystems{
    "autofs",  "binfmt_misc", "bpf",      "cgroup",   "cgroup2",          "configfs",
    "debugfs", "devpts",      "devtmpfs", "efivarfs", "fuse.gvfsd-fuse",  "fuse.lxcfs",
    "fuse.portal", "fusectl", "hugetlbfs", "mqueue",  "nsfs",             "proc",
    "pstore",  "ramfs",       "rpc_pipefs", "securityfs", "sysfs",        "tracefs"};

// Memory-backed or packaged mounts: real file systems, but nobody keeps pictures there.
constexpr std::array<const char*, 2> systemFileSystems{"tmpfs", "squashfs"};

// Mount points of the system itself; removable media under /run/media are the user's.
constexpr std::array<const char*, 6> systemFolders{"/proc", "/sys", "/dev", "/run", "/snap", "/var/lib"};

template <std::size_t N>
bool contains(const std::array<const char*, N>& names, const QByteArray& name)
{
    return std::any_of(names.begin(), names.end(), [&](const char* entry) { return name == entry; });
}

bool inSystemFolder(const QString& rootPath)
{
    if (isWithinFolder(rootPath, QStringLiteral("/run/media")))
        return false;
    return std::any_of(systemFolders.begin(), systemFolders.end(),
                       [&](const char* folder) { return isWithinFolder(rootPath, QString::fromLatin1(folder)); });
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
    return !contains(pseudoFileSystems, fileSystemType) && !contains(systemFileSystems, fileSystemType) &&
           !inSystemFolder(rootPath);
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
        const bool known = std::any_of(volumes.begin(), volumes.end(),
                                       [&](const Volume& volume) { return volume.rootPath == root; });
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
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return volumes;
}
