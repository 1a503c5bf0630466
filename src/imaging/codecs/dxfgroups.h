// The group code / value pairs of a DXF file, text or binary, read strictly and the way libdime
// will read them: libdime trusts its input and crashes or misreads on malformed files (found
// by fuzzing), so a file is only handed to it after every group has passed through here.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace imaging::codecs {

// A binary DXF starts with this; its groups follow from byte 22 on.
inline constexpr QByteArrayView binaryDxfSentinel("AutoCAD Binary DXF");

// The bytes after a leading UTF-8 byte order mark, which libdime does not expect.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

struct DxfGroup {
    int code = 0;
    QByteArray text;     // text values; in text files also numbers as written
    double number = 0.0; // number values
};

class DxfGroups {
public:
    // `dxf` without a byte order mark.
    explicit DxfGroups(QByteArrayView dxf);

    // The next group, nothing at the end. Throws Error(DamagedPicture) naming the place of a
    // group libdime would misread: an unknown code, a value of the wrong kind, a number that
    // is not finite, text with control characters or longer than a DXF line may be.
    std::optional<DxfGroup> next();
    bool isBinary() const { return binary_; }
    // Throws Error(DamagedPicture) saying what is wrong at the place of the last group read.
    [[noreturn]] void refuse(const char* what) const;

private:
    std::optional<DxfGroup> nextText();
    std::optional<DxfGroup> nextBinary();
    std::optional<QByteArray> textLine();

    QByteArrayView bytes_;
    qsizetype position_ = 0;
    bool binary_;
    bool wideCodes_ = false; // binary files of newer writers have two-byte group codes
    int line_ = 0;
    qsizetype groupStart_ = 0;
};

} // namespace imaging::codecs
