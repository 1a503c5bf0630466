// JPEG files with an EXIF block made by hand, for the orientation tests.
#pragma once

#include <QByteArray>
#include <QtEndian>

#include <vector>

namespace testexif {

// A TIFF structure whose first directory holds `entries` (tag, type, count, value) and nothing else.
struct Entry {
    quint16 tag;
    quint16 type;
    quint32 count;
    quint16 value;
};

inline QByteArray tiffStructure(const std::vector<Entry>& entries, bool bigEndian)
{
    QByteArray tiff;
    const auto put16 = [&](quint16 value) {
        const quint16 stored = bigEndian ? qToBigEndian(value) : qToLittleEndian(value);
        tiff.append(reinterpret_cast<const char*>(&stored), 2);
    };
    const auto put32 = [&](quint32 value) {
        const quint32 stored = bigEndian ? qToBigEndian(value) : qToLittleEndian(value);
        tiff.append(reinterpret_cast<const char*>(&stored), 4);
    };
    tiff.append(bigEndian ? "MM" : "II");
    put16(42);
    put32(8);
    put16(static_cast<quint16>(entries.size()));
    for (const Entry& entry : entries) {
        put16(entry.tag);
        put16(entry.type);
        put32(entry.count);
        put16(entry.value);
        put16(0);
    }
    put32(0);
    return tiff;
}

inline QByteArray exifBlock(int orientation, bool bigEndian)
{
    return QByteArray("Exif\0\0", 6) + tiffStructure({{0x0112, 3, 1, static_cast<quint16>(orientation)}}, bigEndian);
}

// The JPEG with an APP1 EXIF segment right after its start marker.
inline QByteArray withExif(const QByteArray& jpeg, const QByteArray& exif)
{
    QByteArray segment("\xFF\xE1", 2);
    const quint16 length = qToBigEndian(static_cast<quint16>(exif.size() + 2));
    segment.append(reinterpret_cast<const char*>(&length), 2);
    segment.append(exif);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

} // namespace testexif
