#pragma once
#include <string_view>

namespace ambervale {

inline constexpr std::string_view kProductName = "Ambervale";
inline constexpr std::string_view kMakerName = "Corvatek";

inline constexpr std::string_view kSupportEmail = "support@corvatek.example";
inline constexpr std::string_view kHomePageUrl = "https://www.corvatek.example/";
inline constexpr std::string_view kContactPageUrl = "https://www.corvatek.example/contact/";

// The class of the program's main window, and the registered message that asks that window to close as its close
// button does. The uninstaller finds the running copies by the one and closes them with the other.
inline constexpr char kForm1ClassName[] = "AmbervaleForm1";
inline constexpr char kCloseMessageName[] = "Corvatek.Ambervale.Close";

} // namespace ambervale
