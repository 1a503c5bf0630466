// libFuzzer target for the picture codecs: whatever the bytes, sniffing, reading the size from
// the header, and decoding (fitted into a small box and at full size) either succeed or throw
// imaging::Error.
#include "imaging/decoder.h"
#include "imaging/error.h"

#include <cstddef>
#include <cstdint>
#include <QGuiApplication>

namespace {

// Well above any seed, low enough that a valid huge header stays inside libFuzzer's memory limit.
constexpr qint64 fuzzPixelLimit = 16'000'000;
// ImageMagick's drawing of metafiles is bounded by time only; well inside libFuzzer's -timeout
// for the two decodes of an input.
constexpr std::chrono::seconds fuzzTimeLimit{2};

void decodeIgnoringErrors(QByteArrayView bytes, QSize box)
{
    imaging::DecodeRequest request;
    request.fitInto = box;
    request.pixelLimit = fuzzPixelLimit;
    request.timeLimit = fuzzTimeLimit;
    try {
        imaging::decode(bytes, std::move(request));
    } catch (const imaging::Error&) {
        // the expected answer to damaged input
    }
}

} // namespace

// libdime frees the names of entity types it does not know (MTEXT, HATCH, ...) with delete
// instead of delete[]. Harmless with glibc's allocator, but AddressSanitizer stops at it, and
// any real drawing has such entities.
extern "C" const char* __asan_default_options()
{
    return "alloc_dealloc_mismatch=0";
}

// Leaks inside libraries on their error paths: libdime keeps the sections it had read when a
// file turns out broken, ImageMagick's WMF coder its libwmf state after some damaged files,
// libheif's AV1 decoder (dav1d) a few bytes after some damaged AVIF files.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdime.so\nleak:libwmflite\nleak:libdav1d.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps pointers to the arguments for the application's lifetime, and libFuzzer's own
    // must stay untouched.
    static int argc = 1;
    static char name[] = "fuzz_imaging";
    static char* argv[] = {name, nullptr};
    static const QGuiApplication application(argc, argv); // fonts for DXF texts
    imaging::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    imaging::probeSize(bytes, imaging::PcdMode::pcd_BASE); // never throws
    try {
        // EPS is rendered by Ghostscript in a process of its own, out of this fuzzer's reach.
        if (imaging::sniffFormat(bytes) == imaging::PictureFormat::Eps)
            return 0;
    } catch (const imaging::Error&) {
        return 0;
    }
    decodeIgnoringErrors(bytes, QSize(64, 64));
    decodeIgnoringErrors(bytes, QSize());
    return 0;
}
