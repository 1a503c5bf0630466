// Test program start: the codecs need a GUI application for fonts (DXF texts), and ctest
// lists the tests at build time without a display, so the platform defaults to offscreen.
#include "imaging/initialise.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QTemporaryDir>

// Read by LeakSanitizer in sanitizer builds: libdime leaks the sections it had read when a
// file turns out broken (one of the damaged-picture tests does that on purpose), ImageMagick's
// WMF coder its libwmf state after some damaged files.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdime.so\nleak:libwmflite\n";
}

// Also for sanitizer builds: libdime frees the names of entity types it keeps as unknown
// (MTEXT, HATCH, ...) with delete instead of delete[], harmless with glibc's allocator.
extern "C" const char* __asan_default_options()
{
    return "alloc_dealloc_mismatch=0";
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    const QGuiApplication application(argc, argv);
    imaging::initialise();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
