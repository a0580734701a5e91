# platform_win: header-only Win32 helpers (RAII handle owners) for every Windows target.
if(WIN32)
  add_library(platform_win INTERFACE)
  target_include_directories(platform_win INTERFACE ${PROJECT_SOURCE_DIR})
  target_link_libraries(platform_win INTERFACE ole32 advapi32 user32 kernel32)
endif()

# platform_system_library: the libraries outside the programs' static imports, loaded from the
# system folder by full path (docs/library-loading.md).
pelorin_library(platform_system_library WIN32_ONLY SOURCES win/SystemLibrary.cpp LIBS platform_win pelorin_core)

# platform_long_path: the wide, extended form of paths longer than the ANSI calls take.
pelorin_library(platform_long_path WIN32_ONLY SOURCES win/LongPath.cpp LIBS platform_win)
