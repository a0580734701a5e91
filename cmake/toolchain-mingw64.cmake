# Cross-compiles the Windows programs and tests for x86_64 with MinGW-w64.
# Tests run through the build tree's Wine wrapper (see scripts/wine-run).
set(PELORIN_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
set(PELORIN_WINE_TESTS ON)
