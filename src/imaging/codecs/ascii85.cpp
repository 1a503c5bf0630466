#include "imaging/codecs/ascii85.h"

namespace imaging::codecs {

namespace {

constexpr int lineLength = 75;

} // namespace

void Ascii85Writer::putChar(char c)
{
    out_.append(c);
    if (++lineLength_ == lineLength) {
        out_.append('\n');
        lineLength_ = 0;
    }
}

void Ascii85Writer::putGroup(uint32_t group, int characters)
{
    if (group == 0 && characters == 5) {
        putChar('z'); // the short form for four zero bytes
        return;
    }
    char digits[5];
    for (int i = 4; i >= 0; --i) {
        digits[i] = static_cast<char>('!' + group % 85);
        group /= 85;
    }
    for (int i = 0; i < characters; ++i)
        putChar(digits[i]);
}

void Ascii85Writer::write(const uchar* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        pending_ = pending_ << 8 | data[i];
        if (++pendingBytes_ == 4) {
            putGroup(pending_, 5);
            pending_ = 0;
            pendingBytes_ = 0;
        }
    }
}

void Ascii85Writer::finish()
{
    if (pendingBytes_ > 0) {
        // A final group of n bytes is padded with zeros and written as n + 1 characters.
        putGroup(pending_ << (8 * (4 - pendingBytes_)), pendingBytes_ + 1);
    }
    out_.append("~>\n");
}

} // namespace imaging::codecs
