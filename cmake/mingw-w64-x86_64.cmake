# Cross build for 64-bit Windows with the MinGW-w64 GCC toolchain (Debian: g++-mingw-w64-x86-64-posix).
# Executables run under Wine when it is installed: CTest and test discovery start them through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORV_MINGW_TRIPLET x86_64-w64-mingw32)

# The POSIX thread model first: its libstdc++ has std::thread and std::mutex.
find_program(CMAKE_C_COMPILER NAMES ${ORV_MINGW_TRIPLET}-gcc-posix ${ORV_MINGW_TRIPLET}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ORV_MINGW_TRIPLET}-g++-posix ${ORV_MINGW_TRIPLET}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ORV_MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${ORV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(ORV_WINE NAMES wine wine64)
  if(ORV_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ORV_WINE})
  endif()
endif()
