# update_unzip: the zip extraction component: archive directory, entry selection and
# extraction with passwords, checksums and progress. The decoders come from unzip_methods.
pelorin_library(update_unzip SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Crc32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipCrypt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DosDateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Percent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EndCentral.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SortedZip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Wildcard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TargetPath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VCLUnZip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReadDirectory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Extract.cpp
  LIBS update_strings platform_os unzip_methods)
