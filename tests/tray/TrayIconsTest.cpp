// The tray looks' icon files: drawn at every size the notification area uses, and apart by more than colour.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace ambervale {
namespace {

using Pixels = std::vector<std::array<int, 3>>;  // top row first, red green blue

std::uint32_t Le(const std::string& d, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(d.at(at + i));
    return v;
}

// The 24-bit images of an .ico file by their size; an image of another depth fails the test.
std::map<int, Pixels> Images(const std::string& file) {
    std::ostringstream text;
    text << std::ifstream(std::string(AMBERVALE_SOURCE_DIR) + "/tray/res/" + file, std::ios::binary).rdbuf();
    const std::string d = text.str();
    std::map<int, Pixels> images;
    for (std::uint32_t i = 0, count = d.size() >= 6 ? Le(d, 4, 2) : 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i, at = Le(d, entry + 12, 4);
        const int size = static_cast<int>(Le(d, at + 4, 4));
        EXPECT_EQ(Le(d, at + 14, 2), 24u) << file << " " << size;
        const std::size_t stride = (size * 3 + 3) / 4 * 4;
        Pixels& pixels = images[size];
        for (int y = size - 1; y >= 0; --y) {
            for (int x = 0; x < size; ++x) {
                const std::size_t p = at + 40 + y * stride + x * 3;
                pixels.push_back({static_cast<unsigned char>(d.at(p + 2)), static_cast<unsigned char>(d.at(p + 1)),
                                  static_cast<unsigned char>(d.at(p))});
            }
        }
    }
    return images;
}

// What is left of a picture without its colours: dark or light, as a high-contrast theme's eye sees it.
std::vector<bool> Dark(const Pixels& pixels) {
    std::vector<bool> dark;
    for (const auto& [r, g, b] : pixels) dark.push_back(r * 299 + g * 587 + b * 114 < 128 * 1000);
    return dark;
}

TEST(TrayIcons, EveryLookIsDrawnAtEachTraySizeAndTheLooksDifferInShapeNotOnlyInColour) {
    const std::map<int, Pixels> looks[] = {Images("TrayC.ico"), Images("TrayAttention.ico"),
                                           Images("TrayPersonNow.ico")};
    for (const int size : {16, 20, 24, 28, 32, 36, 40, 48}) {
        SCOPED_TRACE(size);
        for (const auto& look : looks) ASSERT_EQ(look.count(size), 1u);
        for (int a = 0; a < 3; ++a) {
            for (int b = a + 1; b < 3; ++b) {
                const std::vector<bool> da = Dark(looks[a].at(size)), db = Dark(looks[b].at(size));
                int differ = 0;
                for (std::size_t p = 0; p < da.size(); ++p) differ += da[p] != db[p] ? 1 : 0;
                EXPECT_GE(differ * 25, size * size) << "looks " << a << " and " << b << " differ in 4% of pixels";
            }
        }
    }
    // The ready look at 16 x 16 is the blue 'C' the first hiding's balloon names: blue on pale cyan, framed in black.
    const Pixels& c = looks[0].at(16);
    int blue = 0, cyan = 0;
    for (std::size_t p = 0; p < c.size(); ++p) {
        const bool edge = p < 16 || p >= 240 || p % 16 == 0 || p % 16 == 15;
        if (edge) {
            EXPECT_EQ(c[p], (std::array<int, 3>{0, 0, 0})) << p;
        }
        blue += c[p] == std::array<int, 3>{7, 162, 254} ? 1 : 0;
        cyan += c[p] == std::array<int, 3>{177, 255, 255} ? 1 : 0;
    }
    EXPECT_GT(blue, 30);
    EXPECT_GT(cyan, 60);
}

} // namespace
} // namespace ambervale
