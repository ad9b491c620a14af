#pragma once
#include <string>

namespace ambervale {

// The system's own description of an error code, without its line end; "Error <code>" when the
// system has none.
std::string SystemErrorText(unsigned long code);

// Throws AppError described by the calling thread's last error.
[[noreturn]] void ThrowLastError();

} // namespace ambervale
