#pragma once
#include <stdexcept>
#include <string>

namespace ambervale {

// A failure that a guarded handler reports in its error box; what() is the box's description.
class AppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace ambervale
