# Portable core of the setup program: description records, compressed blocks,
# the description reader and writer, text helpers and program-wide values.
pelorin_library(pelorin_setup_core
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Struct.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZStream.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BlockWriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadSetup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CmnFunc2.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Globals.cpp
  LIBS pelorin_core ZLIB::ZLIB)
