// The kinds of file the Open File window lists, in the order it offers them: all picture files
// first, then each kind on its own.
#pragma once

#include <QList>
#include <QString>

struct OpenFileKind {
    QString name;  // "All", "BMP", ...
    QString masks; // "*.BMP", or several separated by semicolons
};

const QList<OpenFileKind>& openFileKinds();
