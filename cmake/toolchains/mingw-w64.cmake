# Cross build for Windows with mingw-w64 (posix threads); included by the per-target toolchain
# files after they set KX_MINGW_TRIPLE. Tests run under Wine in a prefix inside the build tree.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KX_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${KX_MINGW_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${KX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler runtime (libgcc, libstdc++, winpthread) linked in: the programs and DLLs need
# nothing but system DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# No mingw build of GoogleTest in Debian: build it from the googletest source package.
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/googletest CACHE PATH "GoogleTest built from source")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wine)
