# Cross-build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRIMLOW_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRIMLOW_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${BRIMLOW_MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${BRIMLOW_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRIMLOW_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C++ runtime and libgcc are linked in, so the
# program runs from any folder without MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
