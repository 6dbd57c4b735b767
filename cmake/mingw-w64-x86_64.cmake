# Cross-compiling the plain Win32 layer's tests for 64-bit Windows with Debian's mingw-w64.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-qt.cmake)

# A self-contained .exe: no libstdc++, libgcc or winpthread DLLs to put beside it in Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
