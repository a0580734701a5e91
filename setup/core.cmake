# Portable core of the setup program: description records, compressed blocks,
# the description reader and writer, text helpers and program-wide values.
pelorin_library(pelorin_setup_core
  SOURCES Struct.cpp ZStream.cpp BlockWriter.cpp LoadSetup.cpp CmnFunc2.cpp Globals.cpp CommandLine.cpp ExitCodes.cpp
  LIBS pelorin_core ZLIB::ZLIB)
