#include "imaging/codecs/decoders.h"
#include "imaging/codecs/epsheader.h"
#include "imaging/codecs/ghostscript.h"
#include "imaging/codecs/rowsink.h"
#include "imaging/error.h"

#include <algorithm>

namespace imaging::codecs {

// An EPS is drawn at one pixel per point (72 dpi) unless a box asks for less.
DecodedPicture decodeEps(QByteArrayView bytes, DecodeRequest& request)
{
    Progress progress(request.control, QStringLiteral("Reading EPS picture"));
    progress.step(0, 1);
    const EpsPixelSize size = epsPixelSize(bytes);
    if (size.width == 0)
        throw Error(ErrorCode::DamagedPicture, QStringLiteral("The EPS picture has no bounding box"));
    checkPixelLimit(size.width, size.height, request.pixelLimit);
    const QSize fullSize(static_cast<int>(size.width), static_cast<int>(size.height));

    const QSize wanted = fittedSize(fullSize, request.fitInto);
    const double scale =
        std::min(double(wanted.width()) / fullSize.width(), double(wanted.height()) / fullSize.height());
    QImage rendered = toOutputFormat(renderEps(bytes, {72.0 * scale, wanted, request.timeLimit}, progress));
    // Ghostscript rounds the page up to whole pixels, so its result may be a pixel too large.
    rendered = shrinkImage(std::move(rendered), fittedSize(rendered.size(), wanted), std::move(request.buffer));
    progress.report(100);
    return {std::move(rendered), PictureFormat::Eps, fullSize, 1};
}

} // namespace imaging::codecs
