# update_strings: object lists, streams and string-table resources under the zip reader.
# Programs that look messages up link update_strings_rc: the "S_STREAM" resource in the Windows
# trees, nothing natively (the table is built in there).
set(strings_sources
  Persistent.cpp
  ObjectList.cpp SortedObjectList.cpp ClassRegistry.cpp
  ObjectContainer.cpp
  Stream.cpp MemoryStream.cpp FileStream.cpp
  BufferStream.cpp LFNFileStream.cpp
  StringResource.cpp StringResourceCache.cpp StreamMessages.cpp)
if(WIN32)
  list(APPEND strings_sources StringTableSourceWin.cpp)
  add_library(update_strings_rc OBJECT StreamMessages.rc)
else()
  list(APPEND strings_sources StringTableSourceBuiltin.cpp)
  add_library(update_strings_rc INTERFACE)
endif()
pelorin_library(update_strings SOURCES ${strings_sources} LIBS pelorin_core platform_os)
