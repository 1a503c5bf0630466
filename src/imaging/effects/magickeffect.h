// Running an effect through ImageMagick: the picture goes into an image of this thread's own,
// the operation works on it with progress and cancel wired in, and the result comes back as
// a QImage.
#pragma once

#include <Magick++.h>
#include <QImage>

#include <functional>

#include "imaging/effects/effect.h"

namespace imaging::effects {

using MagickOperation = std::function<void(Magick::Image&)>;

// Throws Error(Cancelled) when stopped, and the engine's error when ImageMagick fails.
QImage withMagick(const EffectInput& input, const MagickOperation& operation);

// The QImage (RGB32, or ARGB32 when the image has transparency) of an ImageMagick image.
QImage toQImage(Magick::Image& image);

// A colour from 8-bit components.
Magick::ColorRGB rgb(int red, int green, int blue);

} // namespace imaging::effects
