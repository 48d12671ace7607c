# Cross-building the Qt-free layers for 64-bit Windows with Debian's MinGW-w64
# (the POSIX threads flavour, for std::thread). Programs are linked statically,
# so they run without the compiler's DLLs beside them; with WINE set (a wine64
# program) the test programs are listed and run through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and packages only from the cross compiler's own folder and the
# folders given in HEXLANE_WINDOWS_DEPS (GoogleTest built for Windows, the
# header-only libraries copied there), never from the host's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${HEXLANE_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HEXLANE_WINDOWS_DEPS)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

if(WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE})
endif()
