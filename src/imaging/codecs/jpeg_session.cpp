#include "imaging/codecs/jpeg_session.h"

#include <algorithm>
#include <jerror.h>

namespace imaging::codecs {

namespace {

// Far more scans than any encoder writes; a damaged or hostile progressive file could otherwise
// keep the decoder busy for minutes.
constexpr int maxProgressiveScans = 500;

} // namespace

JpegSession::JpegSession(Progress& progress, ErrorCode failureCode, QString failureText)
    : m_progress(progress), m_failureCode(failureCode), m_failureText(std::move(failureText)) {
    jpeg_std_error(&m_errors);
    m_errors.error_exit = &JpegSession::onError;
    m_errors.emit_message = &JpegSession::onMessage;
    m_monitor.progress_monitor = &JpegSession::onProgress;
}

template <typename Info, typename Create> void JpegSession::create(Info& info, Create&& createCall) {
    // Creation keeps only the error manager and client data; the progress hook comes after.
    info.err = &m_errors;
    info.client_data = this;
    guarded([&] { createCall(&info); });
    info.progress = &m_monitor;
}

void JpegSession::create(jpeg_decompress_struct& info) {
    create(info, [](j_decompress_ptr created) { jpeg_create_decompress(created); });
}

void JpegSession::create(jpeg_compress_struct& info) {
    create(info, [](j_compress_ptr created) { jpeg_create_compress(created); });
}

void JpegSession::onError(j_common_ptr info) {
    JpegSession& self = of(info);
    info->err->format_message(info, self.m_message);
    self.stop(Stop::LibraryError);
}

void JpegSession::onMessage(j_common_ptr info, int level) {
    // Most warnings are about damage libjpeg has already repaired; a picture that ends early,
    // though, would be shown with a grey lower part.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        onError(info);
}

void JpegSession::onProgress(j_common_ptr info) {
    JpegSession& self = of(info);
    if (self.m_progress.cancelRequested())
        self.stop(Stop::Cancelled);
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > maxProgressiveScans)
        self.stop(Stop::TooManyScans);
    const jpeg_progress_mgr& monitor = self.m_monitor;
    if (monitor.total_passes > 0 && monitor.pass_limit > 0) {
        const double pass = std::min(1.0, double(monitor.pass_counter) / double(monitor.pass_limit));
        self.m_progress.report(
            static_cast<int>((monitor.completed_passes + pass) * 100.0 / monitor.total_passes));
    }
}

void JpegSession::stop(Stop reason) {
    m_stopReason = reason;
    std::longjmp(m_jump, 1);
}

void JpegSession::throwFailure() {
    switch (m_stopReason) {
    case Stop::Cancelled:
        m_progress.throwCancelled();
    case Stop::TooManyScans:
        throw Error(m_failureCode, m_failureText + QStringLiteral(": it has too many scans"));
    case Stop::LibraryError:
        break;
    }
    throw Error(m_failureCode, m_failureText + QStringLiteral(": ") + QString::fromLocal8Bit(m_message));
}

} // namespace imaging::codecs
