// The effects of each menu of the effects window, one file each.
#pragma once

#include <vector>

#include "imaging/effects/effect.h"

namespace imaging::effects {

std::vector<Effect> imageEffects();
std::vector<Effect> deformationEffects();
std::vector<Effect> correctionEffects();

} // namespace imaging::effects
