// What the JPEG decoder and encoder share around libjpeg: its error, warning and progress
// callbacks, and a guard that turns a libjpeg failure into an Error.
#pragma once

#include "imaging/codecs/progress.h"
#include "imaging/error.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#include <QString>

namespace imaging::codecs {

// libjpeg-turbo reads and writes Qt's RGB32 layout (0xffRRGGBB in native byte order) directly.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE rgb32ColourSpace = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE rgb32ColourSpace = JCS_EXT_XRGB;
#endif

// libjpeg reports a fatal error through a callback that must not return. Ours jumps back to the
// guard of the libjpeg call in progress, crossing only libjpeg's own C frames, and the guard
// throws from there. The same way out serves cancellation, which the progress callback notices
// even while libjpeg reads a progressive picture's scans without returning to us.
class JpegSession {
public:
    // A libjpeg failure becomes Error(failureCode, failureText + ": " + libjpeg's message).
    JpegSession(Progress& progress, ErrorCode failureCode, QString failureText);
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;

    // jpeg_create_* with the callbacks installed; the caller destroys the object.
    void create(jpeg_decompress_struct& info);
    void create(jpeg_compress_struct& info);

    // Runs one libjpeg call; `call` must hold no objects with destructors.
    template <typename Call> auto guarded(Call&& call)
    {
        if (setjmp(jump_) != 0)
            throwFailure();
        return call();
    }

private:
    template <typename Info, typename Create> void create(Info& info, Create&& createCall);
    static JpegSession& of(j_common_ptr info) { return *static_cast<JpegSession*>(info->client_data); }
    static void onError(j_common_ptr info);
    static void onMessage(j_common_ptr info, int level);
    static void onProgress(j_common_ptr info);
    enum class Stop { LibraryError, Cancelled, TooManyScans };
    [[noreturn]] void stop(Stop reason);
    [[noreturn]] void throwFailure();

    Progress& progress_;
    ErrorCode failureCode_;
    QString failureText_;
    jpeg_error_mgr errors_{};
    jpeg_progress_mgr monitor_{};
    std::jmp_buf jump_{};
    Stop stopReason_ = Stop::LibraryError;
    char message_[JMSG_LENGTH_MAX] = {};
};

} // namespace imaging::codecs
