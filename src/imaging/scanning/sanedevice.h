// One opened scanner, closed (after cancelling whatever it was doing) on destruction. Lives
// inside a SaneSession.
#pragma once

#include <chrono>
#include <optional>
#include <QString>
#include <QStringList>
#include <sane/sane.h>

namespace imaging::scanning {

struct SaneOption {
    SANE_Int index;
    const SANE_Option_Descriptor& descriptor;
};

class SaneDevice {
public:
    // Throws Error(ScannerFailed) naming the device when it cannot be opened.
    explicit SaneDevice(const QString& name);
    ~SaneDevice();
    SaneDevice(const SaneDevice&) = delete;
    SaneDevice& operator=(const SaneDevice&) = delete;

    const QString& name() const { return name_; }

    // Descriptors are looked up afresh each time: setting an option may make the device
    // rebuild its option list.
    std::optional<SaneOption> option(const QString& optionName) const;
    // The entries of a string option's list; empty when the device has no such list.
    QStringList choices(const QString& optionName) const;
    // `value` points at a value of the option's type and size; `text` is how the caller gave it.
    void setOption(const SaneOption& option, void* value, const QString& text);
    // Throws the error for a setting the device cannot take.
    [[noreturn]] void refuse(const QString& optionName, const QString& text, const QString& reason) const;

    // Starts the next frame and returns its parameters.
    SANE_Parameters start();
    // Whether the device has data (or news) for read() within `timeout`. Devices without a
    // file descriptor to wait on always say yes, and read() then blocks instead.
    bool waitForData(std::chrono::milliseconds timeout) const;
    // Fills `buffer` with the next piece of the frame; nothing at its end.
    std::optional<SANE_Int> read(SANE_Byte* buffer, SANE_Int capacity);

private:
    [[noreturn]] void fail(SANE_Status status) const;

    QString name_;
    SANE_Handle handle_ = nullptr;
    SANE_Int selectFd_ = -1; // of the current frame
};

} // namespace imaging::scanning
