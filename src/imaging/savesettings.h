// The user's choices for saving pictures, with the album's rules for out-of-range values.
#pragma once

namespace imaging {

// The order is part of the settings' meaning (the options window shows them in this order).
enum class TiffCompression : int { sNONE, sCCITT, sFAXCCITT3, sFAXCCITT4, sLZW, sPACKBITS };

// Photo CD resolution read from a PCD file: 192x128, 384x256 or 768x512.
enum class PcdMode : int { pcd_BASE16, pcd_BASE4, pcd_BASE };

class SaveSettings {
public:
    int jpegQuality() const { return jpegQuality_; }
    // 1..100; any other value stands for the default of 25.
    void setJpegQuality(int quality);

    int jpegSmoothing() const { return jpegSmoothing_; }
    // 0..100; any other value gives 5. Starts at 0.
    void setJpegSmoothing(int smoothing);

    bool pngInterlaced() const { return pngInterlaced_; }
    void setPngInterlaced(bool interlaced) { pngInterlaced_ = interlaced; }

    TiffCompression tiffCompression() const { return tiffCompression_; }
    void setTiffCompression(TiffCompression compression) { tiffCompression_ = compression; }

    PcdMode pcdMode() const { return pcdMode_; }
    void setPcdMode(PcdMode mode) { pcdMode_ = mode; }

private:
    int jpegQuality_ = 25;
    int jpegSmoothing_ = 0;
    bool pngInterlaced_ = false;
    TiffCompression tiffCompression_ = TiffCompression::sNONE;
    PcdMode pcdMode_ = PcdMode::pcd_BASE;
};

} // namespace imaging
