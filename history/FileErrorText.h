#pragma once
#include <cstdint>
#include <string>

namespace ambervale {

// The description a user sees in the error box for a Windows error code of a file operation.
std::string FileErrorDescription(std::uint32_t windowsError);

} // namespace ambervale
