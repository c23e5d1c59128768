# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
#
#   cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DSITECONFIG_MINGW_PREFIX=/path/to/windows/pugixml-and-gtest
#
# SITECONFIG_MINGW_PREFIX names folders (a list) holding Windows builds of the dependencies,
# installed with their CMake package files; scripts/windows.sh makes one. Programs run through
# Wine when Wine is installed, so that ctest and test discovery work on this host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SITECONFIG_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model gives std::thread and std::mutex; the win32 one does not in GCC 12.
find_program(CMAKE_C_COMPILER NAMES ${SITECONFIG_MINGW_TRIPLE}-gcc-posix ${SITECONFIG_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${SITECONFIG_MINGW_TRIPLE}-g++-posix ${SITECONFIG_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${SITECONFIG_MINGW_TRIPLE}-windres)

set(SITECONFIG_MINGW_PREFIX "" CACHE STRING "Folders with Windows builds of the dependencies")
set(CMAKE_FIND_ROOT_PATH /usr/${SITECONFIG_MINGW_TRIPLE} ${SITECONFIG_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime goes into every binary, so that siteconfig.dll, the tests and the
# plug-ins need no MinGW DLLs beside them. The modules still share one C heap (the system's C
# runtime), so a plug-in may allocate what the library frees.
foreach(kind IN ITEMS EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
endforeach()

find_program(SITECONFIG_WINE NAMES wine64 wine)
if(SITECONFIG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SITECONFIG_WINE})
endif()
