// The user's choices for saving pictures, with the album's rules for out-of-range values.
#pragma once

namespace imaging {

// The order is part of the settings' meaning (the options window shows them in this order).
enum class TiffCompression : int { sNONE, sCCITT, sFAXCCITT3, sFAXCCITT4, sLZW, sPACKBITS };

// Photo CD resolution read from a PCD file: 192x128, 384x256 or 768x512.
enum class PcdMode : int { pcd_BASE16, pcd_BASE4, pcd_BASE };

class SaveSettings {
public:
    int jpegQuality() const { return m_jpegQuality; }
    // 1..100; any other value stands for the default of 25.
    void setJpegQuality(int quality);

    int jpegSmoothing() const { return m_jpegSmoothing; }
    // 0..100; any other value gives 5. Starts at 0.
    void setJpegSmoothing(int smoothing);

    bool pngInterlaced() const { return m_pngInterlaced; }
    void setPngInterlaced(bool interlaced) { m_pngInterlaced = interlaced; }

    TiffCompression tiffCompression() const { return m_tiffCompression; }
    void setTiffCompression(TiffCompression compression) { m_tiffCompression = compression; }

    PcdMode pcdMode() const { return m_pcdMode; }
    void setPcdMode(PcdMode mode) { m_pcdMode = mode; }

private:
    int m_jpegQuality = 25;
    int m_jpegSmoothing = 0;
    bool m_pngInterlaced = false;
    TiffCompression m_tiffCompression = TiffCompression::sNONE;
    PcdMode m_pcdMode = PcdMode::pcd_BASE;
};

} // namespace imaging
