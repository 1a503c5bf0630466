#include "imaging/savesettings.h"

#include <gtest/gtest.h>

using imaging::SaveSettings;
using imaging::TiffCompression;

TEST(SaveSettings, StartWithTheAlbumDefaults)
{
    const SaveSettings settings;
    EXPECT_EQ(settings.jpegQuality(), 25);
    EXPECT_EQ(settings.jpegSmoothing(), 0);
    EXPECT_FALSE(settings.pngInterlaced());
    EXPECT_EQ(settings.tiffCompression(), TiffCompression::sNONE);
}

TEST(SaveSettings, JpegQualityOutsideOneToHundredBecomesTwentyFive)
{
    SaveSettings settings;
    for (const auto& [given, kept] : {std::pair{1, 1}, {100, 100}, {0, 25}, {101, 25}, {-5, 25}, {60, 60}}) {
        settings.setJpegQuality(given);
        EXPECT_EQ(settings.jpegQuality(), kept) << "given " << given;
    }
}

TEST(SaveSettings, JpegSmoothingOutsideZeroToHundredBecomesFive)
{
    SaveSettings settings;
    for (const auto& [given, kept] : {std::pair{0, 0}, {100, 100}, {101, 5}, {-5, 5}, {1, 1}, {-1, 5}}) {
        settings.setJpegSmoothing(given);
        EXPECT_EQ(settings.jpegSmoothing(), kept) << "given " << given;
    }
}
