# Cross build for 64-bit Windows with Debian's mingw-w64: the test twin of
# RemoteControl.exe, for machines that cannot run 32-bit code. Never shipped.
set(ALDER_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
