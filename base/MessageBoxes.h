#pragma once
#include <string>

namespace ambervale {

enum class BoxIcon { None, Exclamation };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

struct BoxRequest {
    std::string text;
    std::string caption;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
};

// Modal message boxes. Windows keeps dispatching messages while one is open, so other
// handlers (the timer tick) may run inside Show. Throws AppError when no box could be shown.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer Show(const BoxRequest& request) = 0;
};

// Lets the window messages that are waiting be dispatched (one pass), like a yield to the loop.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void DoEvents() = 0;
};

} // namespace ambervale
