// The mounted volumes a user browses for pictures: the Linux counterpart of drive letters.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct Volume {
    QString rootPath;
    QString name; // the file system's label; empty when it has none
};

// Whether a mount holds user files rather than kernel or system plumbing (proc, cgroups, the
// tmpfs folders of /run, snap images, ...). The root file system always counts.
bool isBrowsableVolume(const QString& rootPath, const QByteArray& fileSystemType);

// The browsable mounted volumes, sorted by root path, each root once; "/" and the volume of the
// home folder are always among them.
QList<Volume> browsableVolumes();

// Whether `path` is `folder` itself or lies below it; both are clean absolute paths.
bool isWithinFolder(const QString& path, const QString& folder);

// The root of the volume that holds an existing folder; "/" when that cannot be told.
QString volumeRootOf(const QString& folder);
