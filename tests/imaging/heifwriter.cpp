#include "heifwriter.h"

#include <libheif/heif.h>

#include <memory>

namespace fixtures {

namespace {

heif_error appendTo(heif_context*, const void* data, size_t size, void* userdata)
{
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

} // namespace

QByteArray heifBytes(const QImage& source, const HeifWriting& how)
{
    const std::unique_ptr<heif_context, void (*)(heif_context*)> context(heif_context_alloc(), heif_context_free);
    heif_encoder* rawEncoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), how.avif ? heif_compression_AV1 : heif_compression_HEVC,
                                            &rawEncoder)
            .code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_encoder, void (*)(heif_encoder*)> encoder(rawEncoder, heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder.get(), how.quality);
    if (how.fastest)
        heif_encoder_set_parameter_string(encoder.get(), "preset", "ultrafast");

    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    heif_image* rawImage = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &rawImage);
    const std::unique_ptr<heif_image, void (*)(const heif_image*)> image(rawImage, heif_image_release);
    heif_image_add_plane(image.get(), heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::copy_n(rgb.constScanLine(y), rgb.width() * 3, plane + qsizetype{y} * stride);

    const std::unique_ptr<heif_color_profile_nclx, void (*)(heif_color_profile_nclx*)> nclx(
        heif_nclx_color_profile_alloc(), heif_nclx_color_profile_free);
    if (how.displayP3) {
        nclx->color_primaries = heif_color_primaries_SMPTE_EG_432_1;
        nclx->transfer_characteristics = heif_transfer_characteristic_IEC_61966_2_1;
        nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
        nclx->full_range_flag = 1;
        heif_image_set_nclx_color_profile(image.get(), nclx.get());
    }
    const std::unique_ptr<heif_encoding_options, void (*)(heif_encoding_options*)> options(
        heif_encoding_options_alloc(), heif_encoding_options_free);
    options->image_orientation = static_cast<heif_orientation>(how.containerTurn);
    if (how.displayP3) {
        options->output_nclx_profile = nclx.get();
        // By default libheif leaves the code points out of HEIC files, for an old macOS.
        options->macOS_compatibility_workaround_no_nclx_profile = 0;
    }
    heif_image_handle* handle = nullptr;
    if (heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(), &handle).code !=
        heif_error_Ok)
        return {};
    if (!how.exif.isEmpty())
        heif_context_add_exif_metadata(context.get(), handle, how.exif.data(), static_cast<int>(how.exif.size()));
    heif_image_handle_release(handle);

    QByteArray bytes;
    heif_writer writer{1, appendTo};
    if (heif_context_write(context.get(), &writer, &bytes).code != heif_error_Ok)
        return {};
    return bytes;
}

} // namespace fixtures
