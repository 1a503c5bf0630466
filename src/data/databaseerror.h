// The error raised by the table engine layer for misuse of a table handle (closed table,
// unknown field, wrong state). File-level faults arrive as paradox::Error; both are
// std::runtime_error, which is all the error display needs.
#pragma once

#include <stdexcept>

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
