#include "imaging/scanner.h"

#include "imaging/codecs/progress.h"
#include "imaging/error.h"
#include "imaging/scanning/pictureassembler.h"
#include "imaging/scanning/sanedevice.h"
#include "imaging/scanning/sanesession.h"
#include "imaging/scanning/scanoptions.h"

#include <array>

namespace imaging {

namespace {

QString firstDeviceName(const scanning::SaneSession& session)
{
    const std::vector<ScannerDevice> devices = session.devices();
    if (devices.empty())
        throw Error(ErrorCode::ScannerFailed, QStringLiteral("No scanner was found"));
    return devices.front().name;
}

void readFrame(scanning::SaneDevice& device, scanning::PictureAssembler& picture, codecs::Progress& progress)
{
    // Most devices hand over at most a few tens of kilobytes per read.
    std::array<SANE_Byte, 64 * 1024> buffer{};
    while (true) {
        // Waiting in slices keeps a scanner that is slow to deliver (warming up, stuck)
        // cancellable. Leaving by the exception closes the device, which cancels the scan first.
        do {
            if (progress.cancelRequested())
                progress.throwCancelled();
        } while (!device.waitForData(std::chrono::milliseconds(100)));
        const std::optional<SANE_Int> length = device.read(buffer.data(), static_cast<SANE_Int>(buffer.size()));
        if (!length)
            return;
        picture.append(buffer.data(), *length);
        progress.report(picture.percentDone());
    }
}

} // namespace

QString ScannerDevice::label() const
{
    return QStringLiteral("%1 %2 (%3)").arg(vendor, model, name);
}

std::vector<ScannerDevice> listScanners()
{
    const scanning::SaneSession session;
    return session.devices();
}

QImage acquireScan(const QString& deviceName, const TaskControl& control, const ScanSettings& settings)
{
    const scanning::SaneSession session;
    const QString name = deviceName.isEmpty() ? firstDeviceName(session) : deviceName;
    scanning::SaneDevice device(name);
    scanning::applySettings(device, settings);

    codecs::Progress progress(control, QStringLiteral("Scanning from %1").arg(name));
    progress.report(0);
    scanning::PictureAssembler picture(name);
    do {
        picture.beginFrame(device.start());
        readFrame(device, picture, progress);
    } while (!picture.lastFrame());
    QImage image = picture.takePicture();
    progress.report(100);
    return image;
}

} // namespace imaging
