// Decodes the pictures a view is likely to show next (its neighbours) ahead of time, one at a
// time on a worker thread, into the view's picture cache, so that a step finds its picture
// decoded already. Used on the window thread only.
#pragma once

#include <QByteArray>
#include <QSize>

#include <deque>
#include <vector>

#include "imaging/displaydecoder.h"

namespace imaging {

class PictureCache;

class Prefetcher {
public:
    explicit Prefetcher(PictureCache& cache);

    // Asks for these pictures, nearest first, fitted into `box`; those the cache holds
    // already are passed over. The one being decoded goes on when it is still wanted;
    // whatever else was asked for before is dropped.
    void want(std::vector<QByteArray> pictures, QSize box, PcdMode pcd);
    // Drops everything asked for, the running decode included.
    void stop();
    // Waits until every picture asked for is decoded.
    void wait();

private:
    void startNext();
    void decoded(quint64 ticket, DecodedPicture picture);

    PictureCache& cache_;
    DisplayDecoder decoder_;
    std::deque<QByteArray> queue_; // still to decode, nearest first
    QByteArray running_;           // being decoded
    quint64 ticket_ = 0;           // of the running decode; 0 when none
    QSize box_;
    PcdMode pcd_ = PcdMode::pcd_BASE;
};

} // namespace imaging
