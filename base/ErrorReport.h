#pragma once
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "base/MessageBoxes.h"

namespace ambervale {

inline constexpr std::string_view kErrorBoxCaption = "Application Error";

// The error box's text, byte for byte: description, CR LF, where it happened, CR CR, whom to tell.
std::string ErrorBoxText(std::string_view description, std::string_view location, int step);

// Shows the error box; a box that itself cannot be shown is dropped (there is nobody left to tell).
void ShowErrorBox(MessageBoxes& boxes, std::string_view description, std::string_view location, int step);

// The description of the exception being handled (call only inside a catch block).
std::string CurrentErrorDescription();

// The numbered steps of a guarded handler. A step that throws shows one error box under its
// number and the handler goes on with the next step; nothing is retried and nothing ends early.
// A failure anywhere inside a routine a step calls is reported under that step's number.
class GuardedSteps {
public:
    GuardedSteps(MessageBoxes& boxes, std::string location) : boxes_(boxes), location_(std::move(location)) {}

    template <class Action>
    void Run(int step, Action&& action) {
        try {
            std::forward<Action>(action)();
        } catch (...) {
            Report(step);
        }
    }

    // The test of a condition: a test that fails counts as passed, so the steps it guards still run.
    template <class Condition>
    bool Test(int step, Condition&& condition) {
        try {
            return static_cast<bool>(std::forward<Condition>(condition)());
        } catch (...) {
            Report(step);
            return true;
        }
    }

private:
    void Report(int step);

    MessageBoxes& boxes_;
    std::string location_;
};

} // namespace ambervale
