# The Windows cross build with MinGW's posix thread model, which GoogleTest needs (std::mutex).
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/mingw-w64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
