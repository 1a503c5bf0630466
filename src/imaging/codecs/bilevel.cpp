#include "imaging/codecs/bilevel.h"

namespace imaging::codecs {

void packBilevelRow(const uchar* grey, int width, uchar* bits)
{
    for (int x = 0; x < width; x += 8) {
        uchar byte = 0;
        for (int bit = 0; bit < 8 && x + bit < width; ++bit) {
            if (grey[x + bit] < bilevelThreshold)
                byte = static_cast<uchar>(byte | (0x80 >> bit));
        }
        *bits++ = byte;
    }
}

} // namespace imaging::codecs
