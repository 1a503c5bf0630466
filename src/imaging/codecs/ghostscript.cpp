#include "imaging/codecs/ghostscript.h"

#include "imaging/error.h"

#include <algorithm>
#include <QDeadlineTimer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <sys/resource.h>

namespace imaging::codecs {

namespace {

constexpr int pollMilliseconds = 50;
// The start of what Ghostscript prints is kept for the error message; the rest is dropped.
constexpr qsizetype keptOutput = 4096;
// Room for the band files Ghostscript writes for large pages, besides the picture itself.
constexpr qint64 workFileBytes = 256ll * 1024 * 1024;
// A crashed album leaves no Ghostscript behind: the system stops it after this much more
// processor time than it may take.
constexpr rlim_t spareProcessorSeconds = 10;

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

// Limits the started program, in the child process before Ghostscript itself runs (only
// system calls are allowed there). A limit it exceeds stops it with a signal or its VMerror.
void limit(int resource, rlim_t most)
{
    rlimit current{};
    getrlimit(resource, &current);
    const rlim_t lowest = std::min(most, current.rlim_max);
    const rlimit lowered{lowest, lowest};
    setrlimit(resource, &lowered);
}

// One run of Ghostscript; whatever way the run ends, the program is stopped and reaped.
class GhostscriptRun {
public:
    GhostscriptRun(const QString& program, const QStringList& arguments, const QString& workFolder, qint64 outputBytes,
                   std::chrono::milliseconds timeLimit)
        : timeLimit_(timeLimit)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), workFolder); // its band files go with the rest
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        const auto fileBytes = static_cast<rlim_t>(outputBytes + workFileBytes);
        const auto processorSeconds =
            static_cast<rlim_t>(std::chrono::ceil<std::chrono::seconds>(timeLimit).count()) + spareProcessorSeconds;
        process_.setChildProcessModifier([fileBytes, processorSeconds] {
            limit(RLIMIT_AS, static_cast<rlim_t>(ghostscriptMemoryLimit));
            limit(RLIMIT_FSIZE, fileBytes);
            limit(RLIMIT_CPU, processorSeconds);
        });
        process_.start(program, arguments);
        if (!process_.waitForStarted()) {
            throw Error(ErrorCode::ToolMissing,
                        QStringLiteral("Ghostscript (%1) cannot be started: %2").arg(program, process_.errorString()));
        }
    }
    GhostscriptRun(const GhostscriptRun&) = delete;
    GhostscriptRun& operator=(const GhostscriptRun&) = delete;
    ~GhostscriptRun()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // Waits for the end, reading what Ghostscript prints as it comes so that only the start of
    // it is ever held; stops it on a cancel request, at the time limit and when it prints
    // without end.
    void wait(Progress& progress)
    {
        const QDeadlineTimer deadline(timeLimit_);
        while (process_.state() != QProcess::NotRunning) {
            process_.waitForReadyRead(pollMilliseconds);
            keep(process_.readAll());
            if (printed_ > ghostscriptOutputLimit) {
                throw Error(ErrorCode::ToolFailed,
                            QStringLiteral("Ghostscript printed more than %1 MB for the EPS picture and was stopped")
                                .arg(ghostscriptOutputLimit / (1024 * 1024)));
            }
            if (progress.cancelRequested())
                progress.throwCancelled();
            if (deadline.hasExpired()) {
                throw Error(ErrorCode::ToolFailed,
                            QStringLiteral("Ghostscript took longer than %1 seconds for the EPS picture")
                                .arg(double(timeLimit_.count()) / 1000.0));
            }
        }
        keep(process_.readAll());
    }

    bool crashed() const { return process_.exitStatus() != QProcess::NormalExit; }
    int exitCode() const { return process_.exitCode(); }
    // The first lines Ghostscript printed.
    QString message() const { return QString::fromLocal8Bit(output_).trimmed().section(QLatin1Char('\n'), 0, 2); }
    bool ranOutOfMemory() const { return output_.contains("VMerror"); }

private:
    void keep(const QByteArray& chunk)
    {
        printed_ += chunk.size();
        output_ += chunk.first(std::min(chunk.size(), keptOutput - output_.size()));
    }

    std::chrono::milliseconds timeLimit_;
    QProcess process_;
    QByteArray output_;
    qint64 printed_ = 0;
};

} // namespace

QImage renderEps(QByteArrayView eps, const EpsRendering& rendering, Progress& progress)
{
    const QString program = findGhostscript();
    const QTemporaryDir folder;
    if (!folder.isValid())
        throw Error(ErrorCode::ToolFailed,
                    QStringLiteral("No temporary folder for Ghostscript: %1").arg(folder.errorString()));
    const QString input = folder.filePath(QStringLiteral("picture.eps"));
    const QString output = folder.filePath(QStringLiteral("picture.png"));
    writeInput(input, eps);

    // A PNG is at most its raw pixels and a little; Ghostscript may round each side up a pixel.
    const QSize pixels = rendering.pixels + QSize(2, 2);
    const qint64 pngBytes = 3ll * pixels.width() * pixels.height() + 2ll * pixels.height() + 65536;
    GhostscriptRun run(
        program,
        {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
         QStringLiteral("-dNOPROMPT"), QStringLiteral("-dEPSCrop"), QStringLiteral("-sDEVICE=png16m"),
         QStringLiteral("-dTextAlphaBits=4"), QStringLiteral("-dGraphicsAlphaBits=4"),
         QStringLiteral("-r%1").arg(rendering.dotsPerInch, 0, 'f', 4), QStringLiteral("-sOutputFile=") + output, input},
        folder.path(), pngBytes, rendering.timeLimit);
    run.wait(progress);
    if (run.crashed())
        throw Error(ErrorCode::ToolFailed, QStringLiteral("Ghostscript crashed or was stopped on the EPS picture"));
    if (run.ranOutOfMemory()) {
        throw Error(ErrorCode::ToolFailed, QStringLiteral("Ghostscript needed more than %1 MB for the EPS picture")
                                               .arg(ghostscriptMemoryLimit / (1024 * 1024)));
    }
    if (run.exitCode() != 0)
        throw Error(ErrorCode::DamagedPicture,
                    QStringLiteral("The EPS picture cannot be rendered: %1").arg(run.message()));
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
