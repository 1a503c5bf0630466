#include "imaging/scanning/sanesession.h"

#include "imaging/error.h"

#include <sane/sane.h>

namespace imaging::scanning {

namespace {

// sane_init and sane_exit load and unload every backend of the process; sessions on two
// threads at once would pull the backends out from under each other.
std::mutex sessionMutex;

} // namespace

SaneSession::SaneSession() : exclusive_(sessionMutex, std::try_to_lock)
{
    if (!exclusive_.owns_lock())
        throw Error(ErrorCode::ScannerFailed, QStringLiteral("The scanner is busy with another task"));
    SANE_Int version = 0;
    const SANE_Status status = sane_init(&version, nullptr);
    if (status != SANE_STATUS_GOOD)
        throw Error(ErrorCode::ScannerFailed,
                    QStringLiteral("Scanning is not available: %1").arg(QString::fromUtf8(sane_strstatus(status))));
}

SaneSession::~SaneSession()
{
    sane_exit();
}

std::vector<ScannerDevice> SaneSession::devices() const
{
    const SANE_Device** list = nullptr;
    const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
    if (status != SANE_STATUS_GOOD)
        throw Error(ErrorCode::ScannerFailed,
                    QStringLiteral("The scanners cannot be listed: %1").arg(QString::fromUtf8(sane_strstatus(status))));
    std::vector<ScannerDevice> devices;
    for (; list != nullptr && *list != nullptr; ++list) {
        const SANE_Device& device = **list;
        devices.push_back({QString::fromUtf8(device.name), QString::fromUtf8(device.vendor),
                           QString::fromUtf8(device.model), QString::fromUtf8(device.type)});
    }
    return devices;
}

} // namespace imaging::scanning
