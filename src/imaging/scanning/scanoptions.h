// Puts a caller's ScanSettings into an opened device.
#pragma once

#include "imaging/scanner.h"
#include "imaging/scanning/sanedevice.h"

namespace imaging::scanning {

// Throws Error(ScannerFailed) naming the device and the option it lacks or refuses.
void applySettings(SaneDevice& device, const ScanSettings& settings);

} // namespace imaging::scanning
