// Decoded pictures kept for display, found again by their stored bytes: what the view shows
// next is often decoded already (prefetched neighbours, a picture shown a moment ago).
// Bounded by the memory the images take; the least recently used go first. Used on the
// window thread only.
#pragma once

#include <QByteArray>
#include <QSize>

#include <list>
#include <optional>

#include "imaging/decoder.h"

namespace imaging {

class PictureCache {
public:
    explicit PictureCache(qint64 capacityBytes) : capacity_(capacityBytes) {}

    // A picture decoded from `bytes` that serves a display fitted into `box` (empty: own
    // size): one decoded for that box, or one held at its own size anyway.
    std::optional<DecodedPicture> find(const QByteArray& bytes, QSize box, PcdMode pcd);
    bool contains(const QByteArray& bytes, QSize box, PcdMode pcd) const;
    void insert(const QByteArray& bytes, QSize box, PcdMode pcd, const DecodedPicture& picture);
    void clear()
    {
        entries_.clear();
        used_ = 0;
    }
    qint64 usedBytes() const { return used_; }

private:
    struct Entry {
        QByteArray bytes;
        QSize box;
        PcdMode pcd;
        DecodedPicture picture;
        qint64 cost;
    };
    std::list<Entry>::const_iterator lookup(const QByteArray& bytes, QSize box, PcdMode pcd) const;

    qint64 capacity_;
    qint64 used_ = 0;
    std::list<Entry> entries_; // most recently used first
};

} // namespace imaging
