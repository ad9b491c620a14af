#pragma once
#include <string>
#include <string_view>

namespace ambervale {

// Per-user preferences of application "Corvatek", section "Ambervale": string values read with a
// default and written at once. An absent key reads as the caller's default; Write throws AppError.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string Read(std::string_view key, std::string_view defaultValue) = 0;
    virtual void Write(std::string_view key, std::string_view value) = 0;
};

inline constexpr std::string_view kSettingOftenIndex = "OftenIndex";
inline constexpr std::string_view kSettingStartStopState = "StartStopState";
inline constexpr std::string_view kSettingWindowsStartup = "Windows Startup";
inline constexpr std::string_view kSettingMinimized = "Minimized";
// "Off" when the user chose not to be notified when the printer needs attention; on otherwise.
inline constexpr std::string_view kSettingNotify = "Notify";
// "On" while the StartWithWindows policy 0 has removed the program's own Run value, which comes back with the policy.
inline constexpr std::string_view kSettingStartupRemovedByPolicy = "Windows Startup Removed By Policy";

inline constexpr std::string_view kOn = "On";
inline constexpr std::string_view kOff = "Off";

} // namespace ambervale
