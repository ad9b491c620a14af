#pragma once
#include <string_view>

namespace ambervale {

// The schedule's fixed texts and values.
inline constexpr std::string_view kIntervalListHeader = "How often would you like to log Printer signal strength?";
inline constexpr int kIntervalColumnTwips = 7000;

inline constexpr std::string_view kDefaultOftenIndex = "2";
inline constexpr std::string_view kDefaultStartStopState = "On";

// PushButton5 offers the opposite of the current state.
inline constexpr std::string_view kButtonTurnOn = "Turn On Automatic Log";
inline constexpr std::string_view kButtonTurnOff = "Turn Off Automatic Log";

inline constexpr std::string_view kFrameCountdownPrefix = "Next log will occur in ";
inline constexpr std::string_view kFrameTurnedOff = "Automatic Log is Turned Off.";
inline constexpr std::string_view kFrameLogIsOff = "Automatic Log is Off.";
// Shown instead of a countdown while no interval row is selected: no entry will come until one is.
inline constexpr std::string_view kFrameNoInterval = "Select a logging interval from the list.";

inline constexpr std::string_view kProgressBarText = "Progress Bar";

inline constexpr int kTickMilliseconds = 1000;
inline constexpr int kTimerStopped = 0;

} // namespace ambervale
