// ASCII85 (base-85) text for binary data inside PostScript: 5 characters per 4 bytes, in lines
// short enough for every PostScript reader.
#pragma once

#include <QByteArray>

namespace imaging::codecs {

class Ascii85Writer {
public:
    explicit Ascii85Writer(QByteArray& out) : m_out(out) {}

    void write(const uchar* data, qsizetype size);
    // Encodes what is left over and appends the end-of-data mark "~>".
    void finish();

private:
    void putGroup(uint32_t group, int characters);
    void putChar(char c);

    QByteArray& m_out;
    uint32_t m_pending = 0;
    int m_pendingBytes = 0;
    int m_lineLength = 0;
};

} // namespace imaging::codecs
