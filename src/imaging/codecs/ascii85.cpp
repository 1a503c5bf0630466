#include "imaging/codecs/ascii85.h"

namespace imaging::codecs {

namespace {

constexpr int lineLength = 75;

} // namespace

void Ascii85Writer::putChar(char c) {
    m_out.append(c);
    if (++m_lineLength == lineLength) {
        m_out.append('\n');
        m_lineLength = 0;
    }
}

void Ascii85Writer::putGroup(uint32_t group, int characters) {
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

void Ascii85Writer::write(const uchar* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        m_pending = m_pending << 8 | data[i];
        if (++m_pendingBytes == 4) {
            putGroup(m_pending, 5);
            m_pending = 0;
            m_pendingBytes = 0;
        }
    }
}

void Ascii85Writer::finish() {
    if (m_pendingBytes > 0) {
        // A final group of n bytes is padded with zeros and written as n + 1 characters.
        putGroup(m_pending << (8 * (4 - m_pendingBytes)), m_pendingBytes + 1);
    }
    m_out.append("~>\n");
}

} // namespace imaging::codecs
