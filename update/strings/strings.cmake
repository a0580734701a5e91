# update_strings: object lists, streams and string-table resources under the zip reader.
# Windows programs that look messages up link update_strings_rc, the "S_STREAM" resource.
set(strings_sources
  update/strings/Persistent.cpp update/strings/TextFormat.cpp update/strings/TextCase.cpp
  update/strings/ObjectList.cpp update/strings/SortedObjectList.cpp update/strings/ClassRegistry.cpp
  update/strings/ObjectContainer.cpp
  update/strings/Stream.cpp update/strings/MemoryStream.cpp update/strings/FileStream.cpp
  update/strings/BufferStream.cpp update/strings/LFNFileStream.cpp
  update/strings/StringResource.cpp update/strings/StringResourceCache.cpp update/strings/StreamMessages.cpp)
if(WIN32)
  list(APPEND strings_sources update/strings/StringTableSourceWin.cpp)
  enable_language(RC)
  add_library(update_strings_rc OBJECT ${CMAKE_CURRENT_SOURCE_DIR}/StreamMessages.rc)
else()
  list(APPEND strings_sources update/strings/StringTableSourceBuiltin.cpp)
endif()
list(TRANSFORM strings_sources PREPEND ${PROJECT_SOURCE_DIR}/)
pelorin_library(update_strings SOURCES ${strings_sources} LIBS pelorin_core platform_os)
