# platform_os: the operating system behind OsServices, OsFile and the program's resources,
# Win32 in the Windows trees and POSIX natively.
if(WIN32)
  pelorin_library(platform_os
    SOURCES win/SystemServices.cpp win/OsFile.cpp win/ProgramResource.cpp win/ReplaceAside.cpp
    LIBS platform_win platform_system_library shell32 ole32 user32)
else()
  pelorin_library(platform_os
    SOURCES posix/SystemServices.cpp posix/OsFile.cpp posix/OemCharset.cpp)
endif()
