#include "imaging/prefetcher.h"

#include <algorithm>

#include "imaging/picturecache.h"

namespace imaging {

Prefetcher::Prefetcher(PictureCache& cache)
    : cache_(cache), decoder_([this](quint64 ticket, DecodedPicture picture) { decoded(ticket, std::move(picture)); },
                              // A neighbour that fails to decode fails again, in view, when it is shown.
                              [this](quint64 ticket, int, const QString&) {
                                  if (ticket == ticket_)
                                      startNext();
                              },
                              [](quint64, int, const QString&) {})
{}

void Prefetcher::want(std::vector<QByteArray> pictures, QSize box, PcdMode pcd)
{
    if (box != box_ || pcd != pcd_)
        stop();
    box_ = box;
    pcd_ = pcd;
    std::deque<QByteArray> wanted;
    for (QByteArray& picture : pictures)
        if (!cache_.contains(picture, box, pcd) && std::find(wanted.begin(), wanted.end(), picture) == wanted.end())
            wanted.push_back(std::move(picture));
    // The one being decoded goes on if it is still wanted; the user jumped elsewhere otherwise.
    const auto running = std::find(wanted.begin(), wanted.end(), running_);
    if (ticket_ != 0 && running != wanted.end()) {
        wanted.erase(running);
    } else if (ticket_ != 0) {
        decoder_.cancel();
        ticket_ = 0;
    }
    queue_ = std::move(wanted);
    if (ticket_ == 0)
        startNext();
}

void Prefetcher::stop()
{
    decoder_.cancel();
    queue_.clear();
    ticket_ = 0;
    running_.clear();
}

void Prefetcher::wait()
{
    while (ticket_ != 0)
        decoder_.wait();
}

void Prefetcher::startNext()
{
    ticket_ = 0;
    running_.clear();
    if (queue_.empty())
        return;
    running_ = std::move(queue_.front());
    queue_.pop_front();
    ticket_ = decoder_.decode(running_, box_, pcd_);
}

void Prefetcher::decoded(quint64 ticket, DecodedPicture picture)
{
    if (ticket != ticket_)
        return;
    cache_.insert(running_, box_, pcd_, picture);
    startNext();
}

} // namespace imaging
