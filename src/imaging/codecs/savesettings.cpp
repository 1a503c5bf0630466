#include "imaging/savesettings.h"

namespace imaging {

void SaveSettings::setJpegQuality(int quality)
{
    jpegQuality_ = quality >= 1 && quality <= 100 ? quality : 25;
}

void SaveSettings::setJpegSmoothing(int smoothing)
{
    jpegSmoothing_ = smoothing >= 0 && smoothing <= 100 ? smoothing : 5;
}

} // namespace imaging
