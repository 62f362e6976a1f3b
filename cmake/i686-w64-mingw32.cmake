# Cross build for 32-bit Windows with Debian's mingw-w64: RemoteControl.exe.
set(ALDER_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
