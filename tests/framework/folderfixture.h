// A temporary folder tree for the tests of the file-system controls and the windows using them.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include "support/tempdir.h"

class FolderFixture : public testing::Test {
protected:
    // The clean absolute path of `relative` inside the temporary folder.
    QString path(const QString& relative = {}) const
    {
        const QString root = QString::fromStdString(dir_.str());
        return relative.isEmpty() ? root : QDir::cleanPath(root + QLatin1Char('/') + relative);
    }

    void makeFolder(const QString& relative) const { ASSERT_TRUE(QDir().mkpath(path(relative))); }

    void makeFile(const QString& relative, const QByteArray& bytes = "x") const
    {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

private:
    TempDir dir_;
};
