// kadrix-setup: prepares a user account for Kadrix.
//
//   kadrix-setup            create reg.db in the settings folder when it is missing
//   kadrix-setup --sample   also, when reg.db was missing, create a sample album and
//                           point reg.db at it so that the first start shows pictures
//
// An existing reg.db is never touched.
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string_view>

#include "appsettings.h"
#include "data/kdx.h"
#include "data/schema.h"
#include "samplealbum.h"

namespace {

constexpr const char* sampleBaseName = "Sample";

std::filesystem::path sampleAlbumDirectory()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::filesystem::path(data) / "kadrix" / "Sample album";
    return std::filesystem::path(std::getenv("HOME") ? std::getenv("HOME") : ".") / ".local" / "share" / "kadrix" /
           "Sample album";
}

int usage()
{
    std::fputs("usage: kadrix-setup [--sample]\n"
               "  Creates the settings table reg.db in the Kadrix settings folder when it is missing.\n"
               "  --sample  also creates a sample album and opens it at the first start\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool sample = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--sample")
            sample = true;
        else
            return usage();
    }
    // The pictures are painted off screen; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    try {
        const std::filesystem::path settings = kdxDirectory();
        if (!createAppSettings(settings)) {
            std::printf("Settings already exist in %s; nothing changed.\n", settings.c_str());
            return 0;
        }
        std::printf("Created %s\n", (settings / "reg.db").c_str());
        if (sample) {
            const std::filesystem::path album = sampleAlbumDirectory();
            // A sample album from an earlier setup may hold the user's own pictures by now.
            if (std::filesystem::exists(album / schema::pictureTableName(sampleBaseName))) {
                std::printf("Kept the sample album %s\n", (album / "Sample.mb").c_str());
            } else {
                createSampleAlbum(album.string(), sampleBaseName);
                std::printf("Created the sample album %s\n", (album / "Sample.mb").c_str());
            }
            rememberAlbum(settings, album.string(), sampleBaseName);
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kadrix-setup: %s\n", error.what());
        return 1;
    }
}
