#include "imaging/scanning/sanedevice.h"

#include "imaging/error.h"

#include <poll.h>

namespace imaging::scanning {

namespace {

QString statusText(SANE_Status status)
{
    return QString::fromUtf8(sane_strstatus(status));
}

} // namespace

SaneDevice::SaneDevice(const QString& name) : name_(name)
{
    const SANE_Status status = sane_open(name.toUtf8().constData(), &handle_);
    if (status != SANE_STATUS_GOOD)
        throw Error(ErrorCode::ScannerFailed,
                    QStringLiteral("The scanner %1 cannot be opened: %2").arg(name, statusText(status)));
}

SaneDevice::~SaneDevice()
{
    // Also after a complete scan: SANE expects it before the handle is used again or closed.
    sane_cancel(handle_);
    sane_close(handle_);
}

std::optional<SaneOption> SaneDevice::option(const QString& optionName) const
{
    const QByteArray wanted = optionName.toUtf8();
    // Option 0 is always there and holds the number of options.
    SANE_Int count = 0;
    if (sane_control_option(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    for (SANE_Int index = 1; index < count; ++index) {
        const SANE_Option_Descriptor* descriptor = sane_get_option_descriptor(handle_, index);
        if (descriptor != nullptr && descriptor->name != nullptr && wanted == descriptor->name)
            return SaneOption{index, *descriptor};
    }
    return std::nullopt;
}

QStringList SaneDevice::choices(const QString& optionName) const
{
    const std::optional<SaneOption> found = option(optionName);
    if (!found || found->descriptor.constraint_type != SANE_CONSTRAINT_STRING_LIST)
        return {};
    QStringList entries;
    for (const SANE_String_Const* entry = found->descriptor.constraint.string_list; *entry != nullptr; ++entry)
        entries.append(QString::fromUtf8(*entry));
    return entries;
}

void SaneDevice::setOption(const SaneOption& option, void* value, const QString& text)
{
    const SANE_Status status = sane_control_option(handle_, option.index, SANE_ACTION_SET_VALUE, value, nullptr);
    if (status != SANE_STATUS_GOOD)
        refuse(QString::fromUtf8(option.descriptor.name), text, statusText(status));
}

void SaneDevice::refuse(const QString& optionName, const QString& text, const QString& reason) const
{
    throw Error(ErrorCode::ScannerFailed,
                QStringLiteral("The scanner %1 does not accept %2 = %3: %4").arg(name_, optionName, text, reason));
}

SANE_Parameters SaneDevice::start()
{
    SANE_Status status = sane_start(handle_);
    if (status != SANE_STATUS_GOOD)
        fail(status);
    SANE_Parameters parameters{};
    status = sane_get_parameters(handle_, &parameters);
    if (status != SANE_STATUS_GOOD)
        fail(status);
    if (sane_get_select_fd(handle_, &selectFd_) != SANE_STATUS_GOOD)
        selectFd_ = -1;
    return parameters;
}

bool SaneDevice::waitForData(std::chrono::milliseconds timeout) const
{
    if (selectFd_ < 0)
        return true;
    pollfd wanted{selectFd_, POLLIN, 0};
    // A failing poll is left to read() to report.
    return poll(&wanted, 1, static_cast<int>(timeout.count())) != 0;
}

std::optional<SANE_Int> SaneDevice::read(SANE_Byte* buffer, SANE_Int capacity)
{
    SANE_Int length = 0;
    const SANE_Status status = sane_read(handle_, buffer, capacity, &length);
    if (status == SANE_STATUS_EOF)
        return std::nullopt;
    if (status != SANE_STATUS_GOOD)
        fail(status);
    return length;
}

void SaneDevice::fail(SANE_Status status) const
{
    throw Error(ErrorCode::ScannerFailed, QStringLiteral("The scanner %1 reports: %2").arg(name_, statusText(status)));
}

} // namespace imaging::scanning
