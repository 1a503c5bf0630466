#include "imaging/codecs/jpegsession.h"

#include <algorithm>
#include <jerror.h>

namespace imaging::codecs {

namespace {

// Far more scans than any encoder writes; a damaged or hostile progressive file could otherwise
// keep the decoder busy for minutes.
constexpr int maxProgressiveScans = 500;

} // namespace

JpegSession::JpegSession(Progress& progress, ErrorCode failureCode, QString failureText)
    : progress_(progress), failureCode_(failureCode), failureText_(std::move(failureText))
{
    jpeg_std_error(&errors_);
    errors_.error_exit = &JpegSession::onError;
    errors_.emit_message = &JpegSession::onMessage;
    monitor_.progress_monitor = &JpegSession::onProgress;
}

template <typename Info, typename Create> void JpegSession::create(Info& info, Create&& createCall)
{
    // Creation keeps only the error manager and client data; the progress hook comes after.
    info.err = &errors_;
    info.client_data = this;
    guarded([&] { createCall(&info); });
    info.progress = &monitor_;
}

void JpegSession::create(jpeg_decompress_struct& info)
{
    create(info, [](j_decompress_ptr created) { jpeg_create_decompress(created); });
}

void JpegSession::create(jpeg_compress_struct& info)
{
    create(info, [](j_compress_ptr created) { jpeg_create_compress(created); });
}

void JpegSession::onError(j_common_ptr info)
{
    JpegSession& self = of(info);
    info->err->format_message(info, self.message_);
    self.stop(Stop::LibraryError);
}

void JpegSession::onMessage(j_common_ptr info, int level)
{
    // Most warnings are about damage libjpeg has already repaired; a picture that ends early,
    // though, would be shown with a grey lower part.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        onError(info);
}

void JpegSession::onProgress(j_common_ptr info)
{
    JpegSession& self = of(info);
    if (self.progress_.cancelRequested())
        self.stop(Stop::Cancelled);
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > maxProgressiveScans)
        self.stop(Stop::TooManyScans);
    const jpeg_progress_mgr& monitor = self.monitor_;
    if (monitor.total_passes > 0 && monitor.pass_limit > 0) {
        const double pass = std::min(1.0, double(monitor.pass_counter) / double(monitor.pass_limit));
        self.progress_.report(static_cast<int>((monitor.completed_passes + pass) * 100.0 / monitor.total_passes));
    }
}

void JpegSession::stop(Stop reason)
{
    stopReason_ = reason;
    std::longjmp(jump_, 1);
}

void JpegSession::throwFailure()
{
    switch (stopReason_) {
    case Stop::Cancelled:
        progress_.throwCancelled();
    case Stop::TooManyScans:
        throw Error(failureCode_, failureText_ + QStringLiteral(": it has too many scans"));
    case Stop::LibraryError:
        break;
    }
    throw Error(failureCode_, failureText_ + QStringLiteral(": ") + QString::fromLocal8Bit(message_));
}

} // namespace imaging::codecs
