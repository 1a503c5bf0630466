// Process-wide set-up of the picture codecs.
#pragma once

#include <QtGlobal>

namespace imaging {

// Pictures with more pixels are refused before any pixel memory is taken.
inline constexpr qint64 maxPicturePixels = 500'000'000;

// Call once at process start, before any decode or encode (further calls do nothing): starts
// ImageMagick, sets its resource limits and raises Qt's image allocation limit so that large
// photos decode.
void initialise();

} // namespace imaging
