// HEIC and AVIF through libheif. libheif applies the container's turn and mirror itself, so
// sizes and pixels come out upright. HEVC and AV1 cannot decode at a reduced size: the picture is
// decoded whole and shrunk on the way out.
#include "imaging/codecs/bytereader.h"
#include "imaging/codecs/decoders.h"
#include "imaging/codecs/progress.h"
#include "imaging/codecs/rowsink.h"
#include "imaging/error.h"

#include <libheif/heif.h>

#include <cmath>
#include <memory>
#include <QColorSpace>

namespace imaging::codecs {

namespace {

template <typename T, void (*release)(T*)> struct Releaser {
    void operator()(T* object) const { release(object); }
};
template <typename T, void (*release)(T*)> using Owned = std::unique_ptr<T, Releaser<T, release>>;

using Context = Owned<heif_context, heif_context_free>;
using Handle = Owned<const heif_image_handle, heif_image_handle_release>;
using DecodedImage = Owned<const heif_image, heif_image_release>;
using Options = Owned<heif_decoding_options, heif_decoding_options_free>;

// The H.273 code points used below.
constexpr int primariesDisplayP3 = 12;
constexpr int transferSrgb = 13;

// Display P3 when the code points say so; invalid for sRGB and anything not understood.
template <typename Source>
QColorSpace fromCodePoints(heif_error (*read)(const Source*, heif_color_profile_nclx**), const Source* source)
{
    heif_color_profile_nclx* nclx = nullptr;
    const heif_error error = read(source, &nclx);
    // libheif may hand out a profile together with an error.
    const Owned<heif_color_profile_nclx, heif_nclx_color_profile_free> owned(nclx);
    if (error.code != heif_error_Ok || !nclx)
        return {};
    if (nclx->color_primaries == primariesDisplayP3 && nclx->transfer_characteristics == transferSrgb)
        return QColorSpace(QColorSpace::Primaries::DciP3D65, QColorSpace::TransferFunction::SRgb);
    return {};
}

class HeifFile {
public:
    HeifFile(QByteArrayView bytes, PictureFormat format, qint64 pixelLimit)
        : name_(formatName(format)), context_(heif_context_alloc())
    {
        if (!context_)
            throw Error(ErrorCode::TooLarge, QStringLiteral("There is not enough memory to read the picture"));
        // libheif refuses, before taking memory, images whose area passes the square of this.
        heif_context_set_maximum_image_size_limit(context_.get(),
                                                  static_cast<int>(std::ceil(std::sqrt(double(pixelLimit)))));
        check(heif_context_read_from_memory_without_copy(context_.get(), bytes.data(),
                                                          static_cast<size_t>(bytes.size()), nullptr));
        const heif_image_handle* handle = nullptr;
        check(heif_context_get_primary_image_handle(context_.get(), const_cast<heif_image_handle**>(&handle)));
        handle_.reset(handle);
    }

    void check(heif_error error) const
    {
        if (error.code == heif_error_Ok)
            return;
        const ErrorCode code =
            error.code == heif_error_Memory_allocation_error ? ErrorCode::TooLarge : ErrorCode::DamagedPicture;
        throw Error(code, QStringLiteral("The %1 picture cannot be read: %2")
                              .arg(name_, QString::fromUtf8(error.message ? error.message : "")));
    }

    // Upright: libheif reports the size after the container's turn.
    QSize size() const
    {
        return {heif_image_handle_get_width(handle_.get()), heif_image_handle_get_height(handle_.get())};
    }
    const heif_image_handle* handle() const { return handle_.get(); }
    const QString& name() const { return name_; }

    // The colour space of an embedded ICC profile, or of the code points that say Display P3
    // (in a box of the file, or in the decoded stream); invalid for sRGB and anything not
    // understood.
    QColorSpace colourSpace(const heif_image* decoded) const
    {
        switch (heif_image_handle_get_color_profile_type(handle_.get())) {
        case heif_color_profile_type_prof:
        case heif_color_profile_type_rICC: {
            QByteArray profile(static_cast<qsizetype>(heif_image_handle_get_raw_color_profile_size(handle_.get())),
                               Qt::Uninitialized);
            if (heif_image_handle_get_raw_color_profile(handle_.get(), profile.data()).code != heif_error_Ok)
                return {};
            return QColorSpace::fromIccProfile(profile);
        }
        case heif_color_profile_type_nclx:
            return fromCodePoints(heif_image_handle_get_nclx_color_profile, handle_.get());
        default:
            return fromCodePoints(heif_image_get_nclx_color_profile, decoded);
        }
    }

private:
    QString name_;
    Context context_;
    Handle handle_;
};

void onProgress(heif_progress_step, int done, void* data)
{
    auto* watch = static_cast<std::pair<Progress*, int>*>(data);
    watch->first->report(done, watch->second);
}

void onStart(heif_progress_step, int total, void* data)
{
    static_cast<std::pair<Progress*, int>*>(data)->second = std::max(total, 1);
}

void onEnd(heif_progress_step, void*) {}

// Rows handed over between checks for a cancel request.
constexpr int cancelCheckRows = 64;

QImage exportPixels(const uint8_t* plane, int stride, QSize size, bool alpha, QSize wanted, QImage buffer,
                    const Progress& progress)
{
    const auto checkCancel = [&](int y) {
        if (y % cancelCheckRows == 0 && progress.cancelRequested())
            progress.throwCancelled();
    };
    if (!alpha) {
        RowSink sink(size, wanted, QImage::Format_RGB32, std::move(buffer));
        for (int y = 0; y < size.height(); ++y) {
            checkCancel(y);
            const uint8_t* in = plane + qsizetype{y} * stride;
            auto* out = reinterpret_cast<QRgb*>(sink.nextRow());
            for (int x = 0; x < size.width(); ++x, in += 3)
                out[x] = qRgb(in[0], in[1], in[2]);
            sink.commitRow();
        }
        return sink.takeImage();
    }
    QImage full = reuseOrAllocate(wanted == size ? std::move(buffer) : QImage(), size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        checkCancel(y);
        const uint8_t* in = plane + qsizetype{y} * stride;
        auto* out = reinterpret_cast<QRgb*>(full.scanLine(y));
        for (int x = 0; x < size.width(); ++x, in += 4)
            out[x] = qRgba(in[0], in[1], in[2], in[3]);
    }
    full.convertTo(QImage::Format_ARGB32_Premultiplied);
    return shrinkImage(std::move(full), wanted, std::move(buffer));
}

} // namespace

QSize heifSize(QByteArrayView bytes)
{
    try {
        return HeifFile(bytes, PictureFormat::Heic, maxPicturePixels).size();
    } catch (const Error&) {
        return {};
    }
}

QByteArray heifExif(QByteArrayView bytes)
{
    try {
        const HeifFile file(bytes, PictureFormat::Heic, maxPicturePixels);
        heif_item_id id = 0;
        if (heif_image_handle_get_list_of_metadata_block_IDs(file.handle(), "Exif", &id, 1) != 1)
            return {};
        const size_t size = heif_image_handle_get_metadata_size(file.handle(), id);
        constexpr size_t largestExif = 1 << 20;
        if (size < 4 || size > largestExif)
            return {};
        QByteArray block(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (heif_image_handle_get_metadata(file.handle(), id, block.data()).code != heif_error_Ok)
            return {};
        // The block opens with the offset of the TIFF header after these four bytes.
        const qint64 offset = qint64{u32be(block, 0)};
        return offset <= block.size() - 4 ? block.sliced(4 + offset) : QByteArray();
    } catch (const Error&) {
        return {};
    }
}

DecodedPicture decodeHeif(QByteArrayView bytes, PictureFormat format, DecodeRequest& request)
{
    const HeifFile file(bytes, format, request.pixelLimit);
    Progress progress(request.control, QStringLiteral("Reading %1 picture").arg(file.name()));
    progress.step(0, 1);
    const QSize fullSize = file.size();
    checkPixelLimit(fullSize, request.pixelLimit);
    const bool alpha = heif_image_handle_has_alpha_channel(file.handle()) != 0;

    Options options(heif_decoding_options_alloc());
    if (!options)
        throw Error(ErrorCode::TooLarge, QStringLiteral("There is not enough memory to read the picture"));
    std::pair<Progress*, int> watch{&progress, 1};
    options->convert_hdr_to_8bit = 1;
    options->start_progress = onStart;
    options->on_progress = onProgress;
    options->end_progress = onEnd;
    options->progress_user_data = &watch;
    heif_image* decoded = nullptr;
    file.check(heif_decode_image(file.handle(), &decoded, heif_colorspace_RGB,
                                 alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()));
    const DecodedImage image(decoded);
    progress.step(1, 2);

    const QSize size(heif_image_get_width(decoded, heif_channel_interleaved),
                     heif_image_get_height(decoded, heif_channel_interleaved));
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    if (!plane || size != fullSize || stride < size.width() * (alpha ? 4 : 3))
        throw Error(ErrorCode::DamagedPicture, QStringLiteral("The %1 picture cannot be read").arg(file.name()));
    QImage pixels = exportPixels(plane, stride, size, alpha, fittedSize(fullSize, request.fitInto),
                                 std::move(request.buffer), progress);
    pixels.setColorSpace(file.colourSpace(decoded));
    progress.report(100);
    return {std::move(pixels), format, fullSize, 1};
}

} // namespace imaging::codecs
