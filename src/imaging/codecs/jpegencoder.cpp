#include "imaging/codecs/encoders.h"
#include "imaging/codecs/jpegsession.h"

#include <cmath>
#include <jerror.h>
#include <new>

namespace imaging::codecs {

namespace {

// libjpeg's destination writing straight into a QByteArray that grows as needed.
class ByteArrayDestination {
public:
    explicit ByteArrayDestination(QByteArray& out) : out_(&out)
    {
        manager_.init_destination = &ByteArrayDestination::start;
        manager_.empty_output_buffer = &ByteArrayDestination::grow;
        manager_.term_destination = &ByteArrayDestination::finish;
    }
    jpeg_destination_mgr* manager() { return &manager_; }

private:
    static ByteArrayDestination& of(j_compress_ptr info)
    {
        return *reinterpret_cast<ByteArrayDestination*>(info->dest);
    }
    void resize(j_compress_ptr info, qsizetype size, qsizetype used)
    {
        bool resized = true;
        try {
            out_->resize(size);
        } catch (const std::bad_alloc&) {
            resized = false;
        }
        if (!resized)
            ERREXIT(info, JERR_OUT_OF_MEMORY); // leaves through libjpeg's error path, so not from the catch
        manager_.next_output_byte = reinterpret_cast<JOCTET*>(out_->data()) + used;
        manager_.free_in_buffer = static_cast<size_t>(size - used);
    }
    static void start(j_compress_ptr info)
    {
        // A photo at usual qualities takes one to three bits a pixel.
        const qsizetype guess = qsizetype(info->image_width) * info->image_height / 4;
        of(info).resize(info, std::max<qsizetype>(guess, 64 * 1024), 0);
    }
    static boolean grow(j_compress_ptr info)
    {
        // libjpeg calls this only with the buffer full.
        ByteArrayDestination& self = of(info);
        const qsizetype used = self.out_->size();
        self.resize(info, used * 2, used);
        return TRUE;
    }
    static void finish(j_compress_ptr info)
    {
        ByteArrayDestination& self = of(info);
        self.out_->resize(self.out_->size() - static_cast<qsizetype>(self.manager_.free_in_buffer));
    }

    // First member of a standard-layout class: libjpeg hands back a pointer to it.
    jpeg_destination_mgr manager_{};
    QByteArray* out_;
};

class Compressor {
public:
    explicit Compressor(JpegSession& session) { session.create(info); }
    ~Compressor() { jpeg_destroy_compress(&info); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct info{};
};

UINT16 dotsPerInch(int dotsPerMeter)
{
    return static_cast<UINT16>(std::clamp(std::lround(dotsPerMeter * 0.0254), 1L, 65535L));
}

} // namespace

QByteArray encodeJpeg(const QImage& image, const SaveSettings& settings, Progress& progress)
{
    const QImage source = opaqueImage(image);
    const bool grey = source.format() == QImage::Format_Grayscale8;
    QByteArray out;
    ByteArrayDestination destination(out);
    JpegSession session(progress, ErrorCode::WriteFailed, QStringLiteral("The JPEG picture cannot be written"));
    Compressor jpeg(session);
    jpeg_compress_struct& info = jpeg.info;

    info.dest = destination.manager();
    info.image_width = static_cast<JDIMENSION>(source.width());
    info.image_height = static_cast<JDIMENSION>(source.height());
    info.input_components = grey ? 1 : 4;
    info.in_color_space = grey ? JCS_GRAYSCALE : rgb32ColourSpace;
    session.guarded([&] {
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, settings.jpegQuality(), TRUE);
    });
    info.smoothing_factor = settings.jpegSmoothing();
    // Huffman optimisation costs a second pass over the coefficients for a few per cent.
    info.optimize_coding = FALSE;
    info.density_unit = 1;
    info.X_density = dotsPerInch(source.dotsPerMeterX());
    info.Y_density = dotsPerInch(source.dotsPerMeterY());

    session.guarded([&] { jpeg_start_compress(&info, TRUE); });
    if (const QByteArray profile = ownProfile(image); !profile.isEmpty()) {
        session.guarded([&] {
            jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(profile.constData()),
                                   static_cast<unsigned int>(profile.size()));
        });
    }
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads input rows, its API just lacks the const.
        JSAMPROW row = const_cast<uchar*>(source.constScanLine(static_cast<int>(info.next_scanline)));
        session.guarded([&] { jpeg_write_scanlines(&info, &row, 1); });
    }
    session.guarded([&] { jpeg_finish_compress(&info); });
    return out;
}

} // namespace imaging::codecs
