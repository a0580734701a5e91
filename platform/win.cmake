# platform_win: header-only Win32 helpers (RAII handle owners) for every Windows target.
if(WIN32)
  add_library(platform_win INTERFACE)
  target_include_directories(platform_win INTERFACE ${PROJECT_SOURCE_DIR})
  target_link_libraries(platform_win INTERFACE ole32 advapi32 user32 kernel32)
endif()
