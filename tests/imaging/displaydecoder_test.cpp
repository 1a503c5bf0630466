// The display decoder against decodes that do not stop when asked: a new picture must never
// wait behind them.
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "imaging/displaydecoder.h"
#include "imaging/error.h"

using imaging::DecodedPicture;
using imaging::DecodeRequest;
using imaging::DisplayDecoder;

namespace {

const QByteArray stuckBytes("stuck");

QByteArray smallPng()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Decodes "stuck" by blocking, cancel request or not, until released: the worst a decoder
// can do. Anything else is decoded for real.
class StuckDecodes {
public:
    DecodedPicture decode(QByteArrayView bytes, DecodeRequest&& request)
    {
        if (bytes != stuckBytes)
            return imaging::decode(bytes, std::move(request));
        std::unique_lock lock(mutex_);
        ++running_;
        mostAtOnce_ = std::max(mostAtOnce_, running_);
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
        --running_;
        changed_.notify_all();
        throw imaging::Error(imaging::ErrorCode::Cancelled, QStringLiteral("released"));
    }

    DisplayDecoder::DecodeFunction function()
    {
        return [this](QByteArrayView bytes, DecodeRequest&& request) { return decode(bytes, std::move(request)); };
    }

    // False when fewer than `count` were stuck within a minute.
    bool waitUntilStuck(int count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [&] { return running_ >= count; });
    }
    void release()
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    bool released() const
    {
        const std::lock_guard lock(mutex_);
        return released_;
    }
    int running() const
    {
        const std::lock_guard lock(mutex_);
        return running_;
    }
    int mostAtOnce() const
    {
        const std::lock_guard lock(mutex_);
        return mostAtOnce_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    int running_ = 0;
    int mostAtOnce_ = 0;
};

// Releases the stuck decodes when the test ends or after a minute, whichever comes first, so
// that a decoder which waits for them fails its test instead of hanging it.
class ReleaseLater {
public:
    explicit ReleaseLater(StuckDecodes& stuck)
        : thread_([&stuck](std::stop_token stop) {
              std::mutex mutex;
              std::unique_lock lock(mutex);
              std::condition_variable_any().wait_for(lock, stop, std::chrono::minutes(1), [] { return false; });
              stuck.release();
          })
    {}

private:
    std::jthread thread_;
};

struct Delivered {
    std::optional<quint64> done;
    QSize size;
    std::vector<quint64> failed;

    // Lets the decoder's results in until `ticket` arrives, for at most a minute.
    bool waitFor(quint64 ticket)
    {
        QElapsedTimer waited;
        waited.start();
        while (done != ticket && waited.elapsed() < 60'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done == ticket;
    }
};

} // namespace

TEST(DisplayDecoding, ANewPictureNeverWaitsBehindADecodeThatDoesNotStop)
{
    StuckDecodes stuck;
    Delivered delivered;
    {
        DisplayDecoder decoder(
            [&](quint64 ticket, DecodedPicture picture) {
                delivered.done = ticket;
                delivered.size = picture.image.size();
            },
            [&](quint64 ticket, int, const QString&) { delivered.failed.push_back(ticket); },
            [](quint64, int, const QString&) {}, nullptr, stuck.function());
        const ReleaseLater safety(stuck);
        const quint64 abandoned = decoder.decode(stuckBytes, {}, imaging::PcdMode::pcd_BASE);
        ASSERT_TRUE(stuck.waitUntilStuck(1));

        const quint64 next = decoder.decode(smallPng(), {}, imaging::PcdMode::pcd_BASE);
        decoder.wait(); // what the window thread does when it needs the picture now
        EXPECT_FALSE(stuck.released()) << "waited for the abandoned decode";
        EXPECT_TRUE(delivered.waitFor(next));
        EXPECT_EQ(delivered.size, QSize(40, 30));
        EXPECT_EQ(stuck.running(), 1) << "the abandoned decode is still stuck";
        stuck.release();
        QCoreApplication::processEvents();
        EXPECT_TRUE(std::find(delivered.failed.begin(), delivered.failed.end(), abandoned) == delivered.failed.end())
            << "the abandoned decode's end is never delivered";
    }
    EXPECT_EQ(stuck.running(), 0);
}

TEST(DisplayDecoding, OnlyAFewAbandonedDecodesRunAndNoneOutlivesTheDecoder)
{
    StuckDecodes stuck;
    Delivered delivered;
    {
        DisplayDecoder decoder(
            [&](quint64 ticket, DecodedPicture picture) {
                delivered.done = ticket;
                delivered.size = picture.image.size();
            },
            [](quint64, int, const QString&) {}, [](quint64, int, const QString&) {}, nullptr, stuck.function());
        const ReleaseLater safety(stuck);
        for (int i = 0; i < 10; ++i)
            decoder.decode(stuckBytes, {}, imaging::PcdMode::pcd_BASE);
        ASSERT_TRUE(stuck.waitUntilStuck(1 + DisplayDecoder::abandonedLimit));
        const quint64 last = decoder.decode(smallPng(), {}, imaging::PcdMode::pcd_BASE);
        // Room for the new picture comes only when an abandoned decode ends.
        stuck.release();
        EXPECT_TRUE(delivered.waitFor(last));
        EXPECT_EQ(stuck.mostAtOnce(), 1 + DisplayDecoder::abandonedLimit);
        decoder.decode(stuckBytes, {}, imaging::PcdMode::pcd_BASE);
    }
    EXPECT_EQ(stuck.running(), 0) << "a decode outlived its decoder";
}
