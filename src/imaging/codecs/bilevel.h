// Turning pictures into black and white for the fax (CCITT) kinds of TIFF.
#pragma once

#include <QImage>

namespace imaging::codecs {

// The fixed threshold, not dithering: CCITT coding compresses runs of equal pixels, and
// dithered photos break every run up, often ending larger than uncompressed. Documents and
// line art, which fax compression is for, keep crisp edges this way.
inline constexpr int bilevelThreshold = 128;

// One scanline of a Format_Grayscale8 image packed 8 pixels a byte, most significant bit
// first, 1 for black (pixels darker than the threshold): the layout of a min-is-white TIFF.
void packBilevelRow(const uchar* grey, int width, uchar* bits);

} // namespace imaging::codecs
