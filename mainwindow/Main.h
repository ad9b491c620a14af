#pragma once
#include <string>
#include <string_view>

namespace ambervale {

// The application title: the name without its last word, and shorter still while over 40 characters.
// A name without a blank is its own title.
std::string AppTitleOf(std::string_view productName);

// The number from 1 to 100 that a random fraction in [0, 1) draws, each equally likely.
int DrawOneToHundred(double fraction);

// One start in a hundred opens the maker's home page: the draw that wins.
inline constexpr int kHomePageWinningNumber = 7;

} // namespace ambervale
