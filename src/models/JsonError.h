#pragma once

#include <stdexcept>
#include <string>

namespace vantrell {

// A JSON text that does not parse, or a parsed value that does not have the shape a record
// needs (missing key, wrong type, unknown enumeration string). The message is one line for
// diagnostics and is never shown to the user.
class JsonDecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value that cannot be written as JSON (a non-finite number).
class JsonEncodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vantrell
