#include "pictures/exportcommands.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <array>
#include <deque>
#include <stdexcept>

#include "data/data.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"
#include "imaging/encoder.h"
#include "imaging/error.h"
#include "imaging/pdbmultiimage.h"
#include "pictures/markedrun.h"
#include "pictures/whilepainting.h"

namespace {

constexpr std::array<const char*, 8> extensions{"jpg", "gif", "bmp", "tif", "tga", "pcx", "png", "eps"};

// The save dialog's kinds of file; each format's is at its own place in the list.
const QStringList saveFilters{"JPG (*.JPG)", "GIF (*.GIF)", "BMP (*.BMP)", "TIF (*.TIF)", "TGA (*.TGA)",
                              "PCX (*.PCX)", "PNG (*.PNG)", "EPS (*.EPS)", "All Files (*.*)"};

struct EncodeOutcome {
    int code = 0; // 0: written
    QString text;
};

struct EncodedFile {
    QByteArray bytes;
    EncodeOutcome failure; // code 0: encoded
};

EncodedFile encodePicture(const QImage& picture, imaging::SaveFormat format, const imaging::SaveSettings& settings)
{
    try {
        return {imaging::encode(picture, format, settings), {}};
    } catch (const imaging::Error& error) {
        return {{}, {error.codeValue(), error.text()}};
    }
}

EncodeOutcome saveFile(const EncodedFile& file, const QString& path)
{
    if (file.failure.code != 0)
        return file.failure;
    try {
        imaging::saveToFile(file.bytes, path);
    } catch (const imaging::Error& error) {
        return {error.codeValue(), error.text()};
    }
    return {};
}

// The files of a batch run being encoded on worker threads, a bounded number at a time (each
// holds a full-size picture), and then saved on threads of their own: a save waits for the
// disk, which would leave a processor idle if an encoder waited with it. A writer's failure is
// the engine's: reported by the view's error event, and the run goes on.
class FilesBeingWritten {
public:
    explicit FilesBeingWritten(TPDBMultiImage& view) : view_(view)
    {
        encoders_.setMaxThreadCount(QThread::idealThreadCount());
        savers_.setMaxThreadCount(savingLimit);
    }
    // However the run ends, the files begun are finished before the command returns.
    ~FilesBeingWritten()
    {
        encoders_.waitForDone();
        savers_.waitForDone();
    }

    void start(const QImage& picture, const QString& path, imaging::SaveFormat format,
               const imaging::SaveSettings& settings)
    {
        if (static_cast<int>(encoding_.size()) >= encoders_.maxThreadCount()) {
            waitWhilePainting(encoding_.front());
            encoding_.pop_front();
        }
        if (static_cast<int>(saving_.size()) >= 2 * savingLimit)
            finishOldest();
        QFuture<EncodedFile> encoded = QtConcurrent::run(&encoders_, encodePicture, picture, format, settings);
        encoding_.push_back(encoded);
        saving_.push_back(encoded.then(&savers_, [path](const EncodedFile& file) { return saveFile(file, path); }));
    }
    void finishAll()
    {
        encoding_.clear();
        while (!saving_.empty())
            finishOldest();
    }

private:
    static constexpr int savingLimit = 4;

    void finishOldest()
    {
        const EncodeOutcome outcome = waitWhilePainting(saving_.front());
        saving_.pop_front();
        if (outcome.code != 0)
            view_.reportError(outcome.code, outcome.text);
    }

    TPDBMultiImage& view_;
    QThreadPool encoders_;
    QThreadPool savers_;
    std::deque<QFuture<EncodedFile>> encoding_;
    std::deque<QFuture<EncodeOutcome>> saving_;
};

} // namespace

QString saveExtension(imaging::SaveFormat format)
{
    return QString::fromLatin1(extensions.at(static_cast<std::size_t>(format)));
}

QString batchFileName(int counter, imaging::SaveFormat format)
{
    return QStringLiteral("pic%1.%2").arg(counter, 4, 10, QLatin1Char('0')).arg(saveExtension(format));
}

ExportCommands::ExportCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window)
    : db_(db), view_(view), dialogs_(dialogs), window_(window)
{}

void ExportCommands::exportToFile(imaging::SaveFormat format)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save Picture");
    request.filters = saveFilters;
    request.selectedFilter = static_cast<int>(format);
    request.defaultSuffix = saveExtension(format);
    request.directory = QDir::homePath();
    request.fileName = lastChosen_;
    std::optional<QString> chosen = dialogs_.saveFile(window_.dialogParent(), request);
    if (!chosen)
        return;
    lastChosen_ = *chosen;
    if (QFileInfo(*chosen).suffix().isEmpty())
        *chosen += QLatin1Char('.') + request.defaultSuffix;
    view_.SaveAs(*chosen, format);
}

void ExportCommands::exportToClipboard()
{
    view_.CopyToClipboard();
}

void ExportCommands::exportMarked(imaging::SaveFormat format)
{
    int counter = 1;
    window_.showMarkedPictures();
    const std::optional<QString> folder =
        dialogs_.chooseDirectory(window_.dialogParent(), QStringLiteral("Choose a directory"), QDir::currentPath());
    if (!folder)
        return;
    if (!QDir::setCurrent(*folder))
        throw std::runtime_error(QObject::tr("The folder %1 cannot be used").arg(*folder).toStdString());
    const QDir target = QDir::current();
    const imaging::SaveSettings settings = view_.settings();
    FilesBeingWritten files(view_);
    MarkedRun(db_, view_, window_, MarkedRun::Colours::Own).run([&](const RunPicture& picture) {
        if (picture.empty())
            throw std::runtime_error(imaging::nothingStoredError);
        if (picture.image().isNull())
            throw std::runtime_error(imaging::notDisplayedError);
        files.start(picture.image(), target.absoluteFilePath(batchFileName(counter++, format)), format, settings);
        return true;
    });
    files.finishAll();
}
