#include "imaging/codecs/ghostscript.h"

#include "imaging/error.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace imaging::codecs {

namespace {

constexpr int pollMilliseconds = 50;

QString findGhostscript()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (program.isEmpty()) {
        throw Error(ErrorCode::ToolMissing,
                    QStringLiteral("EPS pictures are shown with Ghostscript (gs), which is not installed"));
    }
    return program;
}

void writeInput(const QString& path, QByteArrayView eps)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(eps.data(), eps.size()) != eps.size()) {
        throw Error(ErrorCode::ToolFailed,
                    QStringLiteral("The EPS picture cannot be handed to Ghostscript: %1").arg(file.errorString()));
    }
}

// Waits for the process, polling the cancel flag; QProcess kills a still running program when
// it is destroyed, so every way out of here leaves none behind.
void waitFor(QProcess& process, Progress& progress)
{
    const QDeadlineTimer deadline(ghostscriptTimeLimit);
    while (!process.waitForFinished(pollMilliseconds)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (progress.cancelRequested())
            progress.throwCancelled();
        if (deadline.hasExpired()) {
            throw Error(ErrorCode::ToolFailed,
                        QStringLiteral("Ghostscript took longer than %1 seconds for the EPS picture")
                            .arg(ghostscriptTimeLimit.count()));
        }
    }
}

QString firstLines(const QByteArray& output)
{
    return QString::fromLocal8Bit(output).trimmed().section(QLatin1Char('\n'), 0, 2);
}

} // namespace

QImage renderEps(QByteArrayView eps, double dotsPerInch, Progress& progress)
{
    const QString program = findGhostscript();
    const QTemporaryDir folder;
    if (!folder.isValid())
        throw Error(ErrorCode::ToolFailed,
                    QStringLiteral("No temporary folder for Ghostscript: %1").arg(folder.errorString()));
    const QString input = folder.filePath(QStringLiteral("picture.eps"));
    const QString output = folder.filePath(QStringLiteral("picture.png"));
    writeInput(input, eps);

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                            QStringLiteral("-dNOPAUSE"), QStringLiteral("-dNOPROMPT"), QStringLiteral("-dEPSCrop"),
                            QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-dTextAlphaBits=4"),
                            QStringLiteral("-dGraphicsAlphaBits=4"), QStringLiteral("-r%1").arg(dotsPerInch, 0, 'f', 4),
                            QStringLiteral("-sOutputFile=") + output, input});
    if (!process.waitForStarted()) {
        throw Error(ErrorCode::ToolMissing,
                    QStringLiteral("Ghostscript (%1) cannot be started: %2").arg(program, process.errorString()));
    }
    waitFor(process, progress);
    if (process.exitStatus() != QProcess::NormalExit)
        throw Error(ErrorCode::ToolFailed, QStringLiteral("Ghostscript crashed on the EPS picture"));
    if (process.exitCode() != 0) {
        throw Error(ErrorCode::DamagedPicture,
                    QStringLiteral("The EPS picture cannot be rendered: %1").arg(firstLines(process.readAll())));
    }
    progress.report(90);

    QImageReader reader(output, "png");
    QImage image = reader.read();
    if (image.isNull()) {
        throw Error(ErrorCode::DamagedPicture,
                    QStringLiteral("Ghostscript drew nothing for the EPS picture: %1").arg(reader.errorString()));
    }
    return image;
}

} // namespace imaging::codecs
