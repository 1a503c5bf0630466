// Scanner acquisition through SANE: listing the scanners and taking one picture from one.
//
// Threads: both functions may run on any thread (the program scans on a worker thread behind
// a progress window), but only one of them at a time in the whole process. SANE keeps its
// list of loaded backends in process-wide state, so each call owns a SANE session of its own
// (sane_init ... sane_exit) and a call made while another one is running is refused with
// Error(ScannerFailed) rather than left to corrupt that state or to block the caller.
#pragma once

#include "imaging/taskcontrol.h"

#include <QImage>
#include <QString>
#include <utility>
#include <vector>

namespace imaging {

struct ScannerDevice {
    QString name; // what acquireScan takes, e.g. "test:0" or "airscan:e0:Office"
    QString vendor;
    QString model;
    QString type; // "flatbed scanner", "virtual device", ...

    // For choosing from a list: "Vendor Model (name)".
    QString label() const;
};

// The device's own settings are used unless something is asked for here.
struct ScanSettings {
    // "Color", "Gray" or "Lineart"; a device without a line-art mode scans line-art as grey at
    // one bit per sample. Empty: the device's current mode.
    QString mode;
    // Dots per inch; 0: the device's current resolution.
    int resolution = 0;
    // Further device options by their SANE name, set in this order after mode and resolution.
    // Values are text: "yes"/"no" for switches, numbers (millimetres for the scan area), or
    // one of the entries the device lists.
    std::vector<std::pair<QString, QString>> options;
};

// Local and network scanners. Throws Error(ScannerFailed) when SANE cannot start.
std::vector<ScannerDevice> listScanners();

// Scans one picture from the device with that name (empty: the first one listed) and returns
// it as Format_RGB32 (colour) or Format_Grayscale8 (grey and line-art).
//
// Progress runs by lines when the device announces the picture's height; otherwise against a
// portrait page of the scanned width, holding at 99 beyond it. A cancel request is noticed
// between two reads from the device, and while waiting for data from a device that offers a
// file descriptor to wait on (otherwise a read blocks until the device delivers).
//
// Throws Error with ScannerFailed (no scanner found, unknown device, a setting the device
// refuses, a device failure such as a paper jam, a scan that delivers nothing; the text names
// the device and gives SANE's reason), TooLarge (above maxPicturePixels, refused before the
// memory is taken) or Cancelled.
QImage acquireScan(const QString& deviceName, const TaskControl& control, const ScanSettings& settings = {});

} // namespace imaging
