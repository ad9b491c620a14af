#pragma once

namespace ambervale {

// Makes one log entry of the default printer's status (a list row and a history line).
// Throws AppError when the entry cannot be made.
class StatusLogger {
public:
    virtual ~StatusLogger() = default;
    virtual void LogStatusNow() = 0;
};

} // namespace ambervale
