# 32-bit Windows programs (the windows32 preset), for desktops whose Essbase
# client, and so esbapin.dll, is 32-bit: a 64-bit program cannot load it.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KELVARY_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
