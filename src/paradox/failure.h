// Raising errors whose message names the file and the fault.
#pragma once

#include <filesystem>
#include <string>

namespace paradox {

// Throws Error("<file>: <fault>").
[[noreturn]] void fail(const std::filesystem::path& file, const std::string& fault);
// Throws Error("<file>: cannot <action>: <system message for errno>").
[[noreturn]] void failSystem(const std::filesystem::path& file, const std::string& action);

} // namespace paradox
