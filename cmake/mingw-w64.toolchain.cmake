# Cross build of the Windows program with Debian's mingw-w64 (POSIX thread model, so
# std::thread, std::mutex and std::condition_variable are available).
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.toolchain.cmake
#
# Everything is linked statically, so the bundle ships no mingw runtime DLLs; ctest runs the
# cross-built tests under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GP_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GP_MINGW_TRIPLE}-windres)

# Only the mingw sysroot is searched for headers and libraries; the host's /usr/include must
# not leak into the Windows build (the header-only dependencies are staged separately).
set(CMAKE_FIND_ROOT_PATH /usr/${GP_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
