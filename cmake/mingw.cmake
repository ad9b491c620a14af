# Cross build for Windows with the MinGW-w64 posix-thread compilers:
#   -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake [-DAMBERVALE_MINGW_ARCH=i686|x86_64]
# i686 (32-bit, the shipping build) unless told otherwise.
if(NOT AMBERVALE_MINGW_ARCH)
  set(AMBERVALE_MINGW_ARCH i686)
endif()
if(NOT AMBERVALE_MINGW_ARCH MATCHES "^(i686|x86_64)$")
  message(FATAL_ERROR "AMBERVALE_MINGW_ARCH must be i686 or x86_64, not ${AMBERVALE_MINGW_ARCH}")
endif()
# The compiler checks run in projects of their own, which see only the variables listed here.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES AMBERVALE_MINGW_ARCH)

set(triple ${AMBERVALE_MINGW_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${AMBERVALE_MINGW_ARCH})
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec.sh)
