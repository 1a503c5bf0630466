// Errors raised by the Paradox file layer. Every message names the file concerned.
#pragma once

#include <stdexcept>
#include <string>

namespace paradox {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Another handle or process holds a lock that conflicts with the requested one.
class InUseError : public Error {
public:
    using Error::Error;
};

// A write would take the blob file past what its 32-bit offsets can address.
class CapacityError : public Error {
public:
    using Error::Error;
};

} // namespace paradox
