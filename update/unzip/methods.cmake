# The decompression methods of the zip extraction engine: shrunk, reduced,
# imploded and deflated. Portable; builds natively and in the Windows trees.
pelorin_library(unzip_methods SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BitReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DecodingTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SlidingWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unshrink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unreduce.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Explode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Inflate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Decoders.cpp)
