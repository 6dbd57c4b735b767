# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix),
# against shared libraries: Qt and what is built on it. Executables run here through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAPETOR_MINGW_TRIPLET x86_64-w64-mingw32)
# The -posix variants use winpthreads; the -win32 ones lack std::thread and std::mutex.
set(CMAKE_C_COMPILER ${TAPETOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAPETOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAPETOR_MINGW_TRIPLET}-windres)

# Qt for the target lives outside the compiler's root, in the prefix the build names.
set(CMAKE_FIND_ROOT_PATH /usr/${TAPETOR_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine launcher picks wine64 for a 64-bit program.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(TAPETOR_WINE NAMES wine wine64 wine-stable)
    if(TAPETOR_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${TAPETOR_WINE})
    endif()
endif()
