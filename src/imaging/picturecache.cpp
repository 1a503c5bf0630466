#include "imaging/picturecache.h"

namespace imaging {

std::list<PictureCache::Entry>::const_iterator PictureCache::lookup(const QByteArray& bytes, QSize box,
                                                                    PcdMode pcd) const
{
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
        if (entry->pcd != pcd || entry->bytes.size() != bytes.size())
            continue;
        const bool ownSize = entry->picture.image.size() == entry->picture.fullSize;
        if (entry->box != box && !ownSize)
            continue;
        // Shared bytes compare in no time; others once, cheaply next to a decode.
        if (entry->bytes.constData() == bytes.constData() || entry->bytes == bytes)
            return entry;
    }
    return entries_.end();
}

std::optional<DecodedPicture> PictureCache::find(const QByteArray& bytes, QSize box, PcdMode pcd)
{
    const auto found = lookup(bytes, box, pcd);
    if (found == entries_.end())
        return std::nullopt;
    entries_.splice(entries_.begin(), entries_, found);
    return entries_.front().picture;
}

bool PictureCache::contains(const QByteArray& bytes, QSize box, PcdMode pcd) const
{
    return lookup(bytes, box, pcd) != entries_.end();
}

void PictureCache::insert(const QByteArray& bytes, QSize box, PcdMode pcd, const DecodedPicture& picture)
{
    const qint64 cost = picture.image.sizeInBytes() + bytes.size();
    if (cost > capacity_ || contains(bytes, box, pcd))
        return;
    entries_.push_front({bytes, box, pcd, picture, cost});
    used_ += cost;
    while (used_ > capacity_ && !entries_.empty()) {
        used_ -= entries_.back().cost;
        entries_.pop_back();
    }
}

} // namespace imaging
