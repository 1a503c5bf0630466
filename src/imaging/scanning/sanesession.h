// One SANE session: sane_init on construction, sane_exit on destruction.
#pragma once

#include "imaging/scanner.h"

#include <mutex>
#include <vector>

namespace imaging::scanning {

class SaneSession {
public:
    // Throws Error(ScannerFailed) when another session is open in this process or SANE
    // cannot start.
    SaneSession();
    ~SaneSession();
    SaneSession(const SaneSession&) = delete;
    SaneSession& operator=(const SaneSession&) = delete;

    std::vector<ScannerDevice> devices() const;

private:
    std::unique_lock<std::mutex> exclusive_;
};

} // namespace imaging::scanning
