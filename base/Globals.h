#pragma once
#include <string_view>

namespace ambervale {

inline constexpr std::string_view kProductName = "Ambervale";
inline constexpr std::string_view kMakerName = "Corvatek";

inline constexpr std::string_view kSupportEmail = "support@corvatek.example";
inline constexpr std::string_view kHomePageUrl = "https://www.corvatek.example/";
inline constexpr std::string_view kContactPageUrl = "https://www.corvatek.example/contact/";

} // namespace ambervale
