#include "imaging/pdbmultiimage.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <variant>
#include <cmath>

#include "data/tdatasource.h"
#include "data/ttable.h"
#include "imaging/decoder.h"
#include "imaging/displaydecoder.h"
#include "imaging/error.h"
#include "imaging/prefetcher.h"

namespace {

// Zoom stops at these scales of the picture's own size.
constexpr double smallestScale = 0.02;
constexpr double largestScale = 16.0;
// Memory for decoded pictures kept for display: the neighbours decoded ahead and the last few
// shown, at screen size.
constexpr qint64 pictureCacheBytes = 256ll * 1024 * 1024;

const QStringList loadableExtensions{"wmf", "jpg", "jpeg", "gif", "tif",  "tiff", "pcx",  "tga", "eps",
                                     "bmp", "png", "pcd",  "dxf", "scm", "cms",  "heic", "heif", "avif", "webp"};

QByteArray toByteArray(const paradox::Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// A picture file's whole content. A blob file addresses at most 4 GiB, so nothing larger is
// read into memory.
paradox::Bytes readWholeFile(const QString& path)
{
    constexpr qint64 largestPicture = 0xFFFFFFFFll;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Input filename isn't valid");
    const qint64 size = file.size();
    if (size > largestPicture)
        throw std::runtime_error(
            QStringLiteral("%1 is too large to be stored in an album (%2 bytes)").arg(path).arg(size).toStdString());
    paradox::Bytes bytes(static_cast<std::size_t>(size));
    const qint64 read = size == 0 ? 0 : file.read(reinterpret_cast<char*>(bytes.data()), size);
    if (read != size || file.error() != QFileDevice::NoError)
        throw std::runtime_error(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()).toStdString());
    return bytes;
}

} // namespace

class TPDBMultiImage::Link : public TDataLink {
public:
    explicit Link(TPDBMultiImage& view) : view_(view) {}
    std::string fieldName;

private:
    void activeChanged() override { view_.reload(); }
    void dataSetChanged() override { view_.reload(); }
    void dataSetScrolled() override { view_.reload(); }
    void editingChanged() override { view_.reload(); }
    void recordChanged(const TField* field) override
    {
        if (!field || field == view_.field())
            view_.reload();
    }
    void updateData() override { view_.storeIfModified(); }

    TPDBMultiImage& view_;
};

TPDBMultiImage::TPDBMultiImage(QWidget* parent)
    : QAbstractScrollArea(parent), link_(std::make_unique<Link>(*this)), cache_(pictureCacheBytes),
      overlayColour_(Qt::green), transitions_(new imaging::TransitionPlayer(*viewport()))
{
    decoder_ = std::make_unique<imaging::DisplayDecoder>(
        [this](quint64 ticket, imaging::DecodedPicture picture) { decoded(ticket, std::move(picture)); },
        [this](quint64 ticket, int code, const QString& text) { decodeFailed(ticket, code, text); },
        [this](quint64 ticket, int percent, const QString& status) { decodeProgress(ticket, percent, status); });
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    link_->fieldName = "FOTO";
}

TPDBMultiImage::~TPDBMultiImage() = default;

// --- binding -----------------------------------------------------------------------------

void TPDBMultiImage::setDataSource(TDataSource* source)
{
    link_->setDataSource(source);
    reload();
}

void TPDBMultiImage::setDataField(const std::string& name)
{
    link_->fieldName = name;
    reload();
}

TField* TPDBMultiImage::field() const
{
    TTable* table = link_->dataSet();
    return table ? table->findField(link_->fieldName) : nullptr;
}

void TPDBMultiImage::reload()
{
    modified_ = false;
    TField* source = field();
    QByteArray bytes;
    try {
        bytes = source ? toByteArray(source->asBytes()) : QByteArray();
    } catch (const std::exception& error) {
        // A stored picture the album cannot give back (a damaged blob file) shows nothing.
        showStoredBytes(QByteArray());
        failed_ = true;
        emit ilibError(static_cast<int>(imaging::ErrorCode::DamagedPicture), QString::fromUtf8(error.what()));
        return;
    }
    showStoredBytes(bytes);
}

void TPDBMultiImage::showStoredBytes(const QByteArray& bytes)
{
    // The same bytes as shown already (a record entering or leaving editing, our own stored
    // change coming back): keep the decoded picture instead of decoding it again.
    if (shownIsStored_ && bytes == stored_)
        return;
    if (isVisible() && transitions_->transition().kind != imaging::TransitionKind::None)
        transitions_->leaving(renderScene());
    stored_ = bytes;
    shownIsStored_ = true;
    // The picture memory may live on in the cache; it is not handed back for reuse.
    shown_ = QImage();
    fullSize_ = QImage();
    scaledCache_ = QImage();
    ownSize_ = QSize();
    ownColours_ = false;
    failed_ = false;
    zoom_ = 1.0;
    if (stored_.isEmpty()) {
        decoder_->cancel();
        ticket_ = 0;
        transitions_->arrived();
    } else {
        ownSize_ = imaging::probeSize(stored_, settings_.pcdMode());
        requestDecode(boxForDisplay());
    }
    pictureChanged();
}

void TPDBMultiImage::storeIfModified()
{
    if (!modified_)
        return;
    TField* target = field();
    TTable* table = link_->dataSet();
    if (!target || !table || (table->state() != TDataSetState::dsEdit && table->state() != TDataSetState::dsInsert))
        return;
    if (shown_.isNull()) {
        modified_ = false;
        stored_.clear();
        shownIsStored_ = true;
        target->clear();
        return;
    }
    std::atomic_bool abort{false};
    QByteArray jpeg;
    // Its own reference: progress handlers may let a decode result replace the shown one.
    const QImage picture = fullSize_.isNull() ? shown_ : fullSize_;
    try {
        jpeg = imaging::encode(picture, imaging::SaveFormat::Jpg, settings_, foregroundControl(abort));
    } catch (const imaging::Error& error) {
        // Still marked changed: the picture stays on screen and is stored at the next post.
        emit ilibError(error.codeValue(), error.text());
        return;
    }
    // Remember the bytes first: the field's change comes back to reload(), which then finds
    // the picture it already shows.
    stored_ = jpeg;
    shownIsStored_ = true;
    target->setAsBytes(paradox::Bytes(jpeg.begin(), jpeg.end()));
    modified_ = false;
}

// --- decoding ----------------------------------------------------------------------------

QSize TPDBMultiImage::displayBox() const
{
    return viewport()->size() * viewport()->devicePixelRatioF();
}

QSize TPDBMultiImage::boxForDisplay() const
{
    // Fitted keeping proportions, the picture never needs more pixels than the display has
    // (until zoomed in); every other way of showing it needs its own size.
    if (stretchRatio_ && zoom_ <= 1.0)
        return displayBox().expandedTo(QSize(1, 1));
    return {};
}

void TPDBMultiImage::requestDecode(QSize box)
{
    ticketBox_ = box;
    if (const auto ready = cache_.find(stored_, box, settings_.pcdMode())) {
        decoder_->cancel();
        ticket_ = 0;
        showDecoded(*ready);
        return;
    }
    ticket_ = decoder_->decode(stored_, box, settings_.pcdMode());
}

void TPDBMultiImage::decoded(quint64 ticket, imaging::DecodedPicture picture)
{
    if (ticket != ticket_)
        return;
    ticket_ = 0;
    cache_.insert(stored_, ticketBox_, settings_.pcdMode(), picture);
    showDecoded(picture);
    // The decode's own last reports may come after its result and are dropped with its ticket.
    reportProgress(100, {});
    emit displayEnded();
}

void TPDBMultiImage::showDecoded(const imaging::DecodedPicture& picture)
{
    ownSize_ = picture.fullSize;
    ownColours_ = picture.ownColours;
    fullSize_ = picture.image.size() == ownSize_ ? picture.image : QImage();
    if (shown_.constBits() != picture.image.constBits())
        decoder_->recycle(std::move(shown_));
    shown_ = picture.image;
    pictureChanged();
    transitions_->arrived();
    if (fitWhenKnown_)
        fitWhenLarger();
    // Reading the neighbours waits until this picture is on screen.
    if (prefetching_ && !prefetchScheduled_) {
        prefetchScheduled_ = true;
        QTimer::singleShot(0, this, [this] {
            prefetchScheduled_ = false;
            schedulePrefetch();
        });
    }
}

// --- decoding ahead ----------------------------------------------------------------------

void TPDBMultiImage::setPrefetching(bool on)
{
    prefetching_ = on;
    if (on && !prefetcher_)
        prefetcher_ = std::make_unique<imaging::Prefetcher>(cache_);
    if (!on && prefetcher_)
        prefetcher_->stop();
    if (!on)
        cache_.clear(); // its memory was mostly there for the pictures decoded ahead
}

void TPDBMultiImage::schedulePrefetch()
{
    TTable* table = link_->dataSet();
    if (!prefetching_ || !table || !table->active() || modified_)
        return;
    // Two pictures ahead in the direction of travel, one behind.
    std::vector<QByteArray> neighbours;
    const int ahead = travelForward_ ? 1 : -1;
    for (int distance : {ahead, 2 * ahead, -ahead}) {
        std::optional<paradox::Value> value;
        try {
            value = table->peekVisible(distance, link_->fieldName);
        } catch (const std::exception&) {
            continue; // a neighbour the album cannot read reports itself when it is shown
        }
        const auto* bytes = value ? std::get_if<paradox::Bytes>(&*value) : nullptr;
        if (bytes && !bytes->empty()) {
            QByteArray picture = toByteArray(*bytes);
            if (picture != stored_)
                neighbours.push_back(std::move(picture));
        }
    }
    prefetcher_->want(std::move(neighbours), displayBox().expandedTo(QSize(1, 1)), settings_.pcdMode());
}

void TPDBMultiImage::waitForPrefetch()
{
    waitForDisplay();
    if (prefetchScheduled_) {
        prefetchScheduled_ = false;
        schedulePrefetch();
    }
    if (prefetcher_)
        prefetcher_->wait();
}

void TPDBMultiImage::decodeFailed(quint64 ticket, int code, const QString& text)
{
    if (ticket != ticket_)
        return;
    ticket_ = 0;
    failed_ = true;
    shown_ = QImage();
    fullSize_ = QImage();
    // Nothing is shown, so nothing may be scrolled: the size the header claimed goes too.
    ownSize_ = QSize();
    fitWhenKnown_ = false;
    pictureChanged();
    transitions_->arrived();
    if (code == static_cast<int>(imaging::ErrorCode::Cancelled))
        return;
    reportProgress(100, text); // the operation has ended, if not well
    emit ilibError(code, text);
    emit displayEnded();
}

void TPDBMultiImage::decodeProgress(quint64 ticket, int percent, const QString& status)
{
    if (ticket != ticket_ || reportProgress(percent, status))
        return;
    // Aborted by the handler: the decode's own end is never delivered now.
    decoder_->cancel();
    ticket_ = 0;
    failed_ = true;
    pictureChanged();
    emit displayEnded();
}

bool TPDBMultiImage::reportProgress(int percent, const QString& status)
{
    bool abort = false;
    emit progress(percent, status, &abort);
    return !abort;
}

imaging::TaskControl TPDBMultiImage::foregroundControl(std::atomic_bool& abort)
{
    imaging::TaskControl control;
    control.cancel = &abort;
    control.progress = [this, &abort](int percent, const QString& status) {
        if (!reportProgress(percent, status))
            abort = true;
    };
    return control;
}

void TPDBMultiImage::offerDecoded(const QByteArray& bytes, const imaging::DecodedPicture& picture)
{
    const QSize box = boxForDisplay();
    imaging::DecodedPicture fitted = picture;
    // Only what the display needs is kept, so the full-size memory goes back to its owner.
    if (!box.isEmpty()) {
        fitted.image = picture.image.scaled(imaging::fittedSize(picture.image.size(), box), Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
    }
    // A run that exports decodes pictures in their own colours; they are shown in sRGB.
    fitted.image = imaging::inSrgb(std::move(fitted.image));
    cache_.insert(bytes, box, settings_.pcdMode(), fitted);
}

void TPDBMultiImage::waitForDisplay()
{
    if (ticket_ != 0)
        decoder_->wait();
}

void TPDBMultiImage::needSharperPicture()
{
    // Zoomed in beyond what a reduced decode holds, or the display grew: decode again.
    if (stored_.isEmpty() || modified_ || failed_ || !fullSize_.isNull())
        return;
    const QSize box = boxForDisplay();
    if (ticket_ != 0 && box == ticketBox_)
        return;
    const QSizeF wanted = targetSize() * devicePixelRatioF();
    if (ticket_ == 0 && !shown_.isNull() && wanted.width() <= shown_.width() + 1 &&
        wanted.height() <= shown_.height() + 1)
        return;
    requestDecode(box);
}

// --- display settings --------------------------------------------------------------------

void TPDBMultiImage::setCenter(bool center)
{
    center_ = center;
    pictureChanged();
}

void TPDBMultiImage::fitWhenLarger()
{
    // Drawings and some other kinds tell their size only once decoded: the rule is applied
    // then, rather than holding the window until the decode ends.
    fitWhenKnown_ = !ownSize_.isValid() && displayPending();
    if (fitWhenKnown_)
        return;
    const QSize view = displaySize();
    setStretchRatio(ownSize_.width() > view.width() || ownSize_.height() > view.height());
}

void TPDBMultiImage::setStretchRatio(bool stretch)
{
    fitWhenKnown_ = false;
    stretchRatio_ = stretch;
    zoom_ = 1.0;
    pictureChanged();
    needSharperPicture();
}

void TPDBMultiImage::setTextOverlay(const QString& text)
{
    overlay_ = text;
    viewport()->update();
}

void TPDBMultiImage::setOverlayFont(const QFont& font)
{
    overlayFont_ = font;
    viewport()->update();
}

void TPDBMultiImage::setOverlayColour(const QColor& colour)
{
    overlayColour_ = colour;
    viewport()->update();
}

void TPDBMultiImage::setPCDMode(imaging::PcdMode mode)
{
    if (mode == settings_.pcdMode())
        return;
    settings_.setPcdMode(mode);
}

// --- what is shown -----------------------------------------------------------------------

bool TPDBMultiImage::hasImage() const
{
    return !shown_.isNull() || ticket_ != 0;
}

QSize TPDBMultiImage::pictureSize()
{
    if (!ownSize_.isValid())
        waitForDisplay();
    return ownSize_;
}

QSize TPDBMultiImage::displaySize() const
{
    return viewport()->size();
}

double TPDBMultiImage::zoomScale() const
{
    if (ownSize_.isEmpty())
        return 1.0;
    return targetSize().width() / ownSize_.width();
}

QSizeF TPDBMultiImage::targetSize() const
{
    if (ownSize_.isEmpty())
        return {};
    const QSizeF own = QSizeF(ownSize_) / devicePixelRatioF();
    const QSizeF area = viewport()->size();
    QSizeF size = own;
    if (stretchRatio_)
        size = own.scaled(area, Qt::KeepAspectRatio);
    return size * zoom_;
}

QRectF TPDBMultiImage::targetRect() const
{
    const QSizeF size = targetSize();
    const QSizeF area = viewport()->size();
    QPointF origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    if (center_) {
        if (size.width() < area.width())
            origin.setX((area.width() - size.width()) / 2);
        if (size.height() < area.height())
            origin.setY((area.height() - size.height()) / 2);
    }
    return {origin, size};
}

void TPDBMultiImage::pictureChanged()
{
    scaledCache_ = QImage();
    updateScrollBars();
    viewport()->update();
}

void TPDBMultiImage::updateScrollBars()
{
    const QSize content = targetSize().toSize();
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
}

void TPDBMultiImage::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    if (transitions_->active())
        painter.drawImage(0, 0, transitions_->frame(renderScene()));
    else
        paintScene(painter);
}

QImage TPDBMultiImage::renderScene()
{
    QImage scene(viewport()->size() * devicePixelRatioF(), QImage::Format_RGB32);
    scene.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(&scene);
    paintScene(painter);
    return scene;
}

void TPDBMultiImage::paintScene(QPainter& painter)
{
    painter.fillRect(viewport()->rect(), Qt::black);
    if (!shown_.isNull()) {
        const QRectF target = targetRect();
        const QSize devicePixels = (target.size() * devicePixelRatioF()).toSize();
        if (devicePixels == shown_.size()) {
            painter.drawImage(target, shown_);
        } else {
            // Scale once per size, smoothly, instead of on every paint.
            if (scaledCache_.size() != devicePixels && !devicePixels.isEmpty()) {
                scaledCache_ = shown_.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                scaledCache_.setDevicePixelRatio(devicePixelRatioF());
            }
            painter.drawImage(target.topLeft(), scaledCache_);
        }
    }
    if (!overlay_.isEmpty()) {
        painter.setFont(overlayFont_);
        const QRect box = viewport()->rect().adjusted(8, 6, -8, -6);
        painter.setPen(Qt::black);
        painter.drawText(box.translated(1, 1), Qt::AlignLeft | Qt::AlignTop, overlay_);
        painter.setPen(overlayColour_);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, overlay_);
    }
}

void TPDBMultiImage::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    pictureChanged();
    needSharperPicture();
}

void TPDBMultiImage::scrollContentsBy(int, int)
{
    viewport()->update();
}

// --- operations --------------------------------------------------------------------------

void TPDBMultiImage::Zoom(double factor)
{
    if (ownSize_.isEmpty() || factor <= 0)
        return;
    const double scale = zoomScale() * factor;
    if (scale < smallestScale || scale > largestScale)
        return;
    zoom_ *= factor;
    pictureChanged();
    needSharperPicture();
}

void TPDBMultiImage::LoadFromFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        throw std::runtime_error("Input filename isn't valid");
    if (!loadableExtensions.contains(info.suffix().toLower()))
        throw std::runtime_error("This format is not supported by this application");
    TField* target = field();
    if (!target)
        throw std::runtime_error("There is no open album to load the picture into");
    // The bytes are read now, so a file that goes away later (a card pulled out) fails here,
    // at its own record, and never when the record is stored.
    paradox::Bytes bytes = readWholeFile(path);
    target->dataSet().edit();
    target->setAsBytes(std::move(bytes));
}

QImage TPDBMultiImage::decodeFullSize(bool keepOwnColours)
{
    std::atomic_bool abort{false};
    try {
        imaging::DecodeRequest request;
        request.pcdResolution = settings_.pcdMode();
        request.control = foregroundControl(abort);
        request.keepOwnColours = keepOwnColours;
        return imaging::decode(stored_, std::move(request)).image;
    } catch (const imaging::Error& error) {
        emit ilibError(error.codeValue(), error.text());
        return {};
    }
}

QImage TPDBMultiImage::picture()
{
    if (modified_)
        return fullSize_.isNull() ? shown_ : fullSize_;
    waitForDisplay();
    if (shown_.isNull())
        return {};
    if (fullSize_.isNull())
        fullSize_ = decodeFullSize(false);
    return fullSize_;
}

void TPDBMultiImage::SaveAs(const QString& path, imaging::SaveFormat format)
{
    TField* source = field();
    if (!modified_ && (!source || source->isNull()))
        throw std::runtime_error(imaging::nothingStoredError);
    waitForDisplay();
    if (shown_.isNull())
        throw std::runtime_error(imaging::notDisplayedError);
    // The picture held for display is in sRGB; one with colours of its own is decoded again in
    // them, and the encoder keeps them where the format can.
    const QImage full = ownColours_ && !modified_ ? decodeFullSize(true) : picture();
    if (full.isNull())
        return; // the decoder has raised the error event
    std::atomic_bool abort{false};
    try {
        imaging::encodeToFile(full, path, format, settings_, foregroundControl(abort));
    } catch (const imaging::Error& error) {
        emit ilibError(error.codeValue(), error.text());
    }
}

void TPDBMultiImage::CopyToClipboard()
{
    const QImage full = picture();
    if (!full.isNull())
        QGuiApplication::clipboard()->setImage(full);
}

bool TPDBMultiImage::PasteFromClipboard()
{
    const QImage pasted = QGuiApplication::clipboard()->image();
    if (pasted.isNull())
        return false;
    TField* target = field();
    if (!target)
        return false;
    target->dataSet().edit(); // entering editing shows the stored picture, then it is replaced
    setPicture(pasted);
    return true;
}

void TPDBMultiImage::setPicture(const QImage& picture)
{
    decoder_->cancel();
    ticket_ = 0;
    failed_ = false;
    decoder_->recycle(std::move(shown_));
    shown_ =
        picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    fullSize_ = shown_;
    ownSize_ = shown_.size();
    zoom_ = 1.0;
    modified_ = true;
    shownIsStored_ = false;
    pictureChanged();
}
