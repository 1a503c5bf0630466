// Running the outside programs the tests check the program's output with (ImageMagick's
// identify, tiffinfo, Ghostscript, poppler's tools).
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Its standard output, with its error output after it; empty when it did not run to a
// successful end (which fails the test).
inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    const QString output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    EXPECT_TRUE(finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        << program.toStdString() << " " << arguments.join(' ').toStdString() << ": " << output.toStdString();
    return output;
}
