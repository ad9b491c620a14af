#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Plain LF line ends: CTest reads the list of cases from this output, and a CR would end up in their names.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
#ifdef _WIN32
    // The Windows layer's tests start an editor and leave data on the clipboard: end at once when the results
    // are out, so nothing the system does while tearing those down can hold the run.
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
#endif
    return result;
}
