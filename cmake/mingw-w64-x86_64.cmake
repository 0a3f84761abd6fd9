# 64-bit Windows programs (the windows preset).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVARY_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
