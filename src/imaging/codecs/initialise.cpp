#include "imaging/initialise.h"

#include <Magick++.h>
#include <mutex>
#include <QImageReader>

namespace imaging {

void initialise()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        // ImageMagick takes the lower of this and its system policy's limit; Debian's policy
        // allows 128 megapixels and 16000 pixels a side, so larger TIFF, PCX and TGA pictures
        // fail there with a clear error rather than being refused here.
        Magick::ResourceLimits::area(static_cast<MagickCore::MagickSizeType>(maxPicturePixels));
        // Qt counts megabytes of image memory; 4 bytes a pixel is the widest format we decode to.
        constexpr qint64 megabyte = 1 << 20;
        QImageReader::setAllocationLimit(static_cast<int>((maxPicturePixels * 4 + megabyte - 1) / megabyte));
    });
}

} // namespace imaging
