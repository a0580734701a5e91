# Compile-only check for 32-bit Windows (i686 MinGW-w64); nothing of it is run,
# because this kind of machine cannot execute 32-bit code.
set(PELORIN_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
set(PELORIN_WINE_TESTS OFF)
