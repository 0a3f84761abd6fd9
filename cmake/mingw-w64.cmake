# Cross-builds the Windows programs with Debian's mingw-w64, for the target
# named by KELVARY_MINGW_PREFIX (set by the toolchain file that includes this).
# The -posix compilers carry std::thread and std::mutex; -static keeps the
# programs free of libgcc, libstdc++ and libwinpthread DLLs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KELVARY_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVARY_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVARY_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KELVARY_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Every cross-built test runs through Wine, in the build tree's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
