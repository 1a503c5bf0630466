// ASCII85 (base-85) text for binary data inside PostScript: 5 characters per 4 bytes, in lines
// short enough for every PostScript reader.
#pragma once

#include <QByteArray>

namespace imaging::codecs {

class Ascii85Writer {
public:
    explicit Ascii85Writer(QByteArray& out) : out_(out) {}

    void write(const uchar* data, qsizetype size);
    // Encodes what is left over and appends the end-of-data mark "~>".
    void finish();

private:
    void putGroup(uint32_t group, int characters);
    void putChar(char c);

    QByteArray& out_;
    uint32_t pending_ = 0;
    int pendingBytes_ = 0;
    int lineLength_ = 0;
};

} // namespace imaging::codecs
