// The built program as a file: what its image header promises Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "e2e/E2ePaths.h"

namespace ambervale::e2e {
namespace {

TEST(Executable, IsLargeAddressAware) {
    std::ifstream file(AmbervaleExe(), std::ios::binary);
    ASSERT_TRUE(file) << AmbervaleExe();
    const std::vector<char> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    IMAGE_DOS_HEADER dos{};
    ASSERT_GE(image.size(), sizeof dos);
    std::memcpy(&dos, image.data(), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    IMAGE_FILE_HEADER header{};
    const std::size_t at = static_cast<std::size_t>(dos.e_lfanew) + sizeof(DWORD);  // past "PE\0\0"
    ASSERT_GE(image.size(), at + sizeof header);
    std::memcpy(&header, image.data() + at, sizeof header);
    // Without the flag a 32-bit program gets 2 GB of address space even on 64-bit Windows.
    EXPECT_TRUE(header.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE) << "machine " << header.Machine;
}

} // namespace
} // namespace ambervale::e2e
