#include "paradox/failure.h"

#include "paradox/error.h"

#include <cerrno>
#include <cstring>

namespace paradox {

void fail(const std::filesystem::path& file, const std::string& fault)
{
    throw Error(file.string() + ": " + fault);
}

void failSystem(const std::filesystem::path& file, const std::string& action)
{
    const int code = errno;
    fail(file, "cannot " + action + ": " + std::strerror(code));
}

} // namespace paradox
