#include "imaging/save_settings.h"

namespace imaging {

void SaveSettings::setJpegQuality(int quality) {
    m_jpegQuality = quality >= 1 && quality <= 100 ? quality : 25;
}

void SaveSettings::setJpegSmoothing(int smoothing) {
    m_jpegSmoothing = smoothing >= 0 && smoothing <= 100 ? smoothing : 5;
}

} // namespace imaging
