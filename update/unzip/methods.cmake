# The decompression methods of the zip extraction engine: stored, shrunk, reduced,
# imploded and deflated. Portable; builds natively and in the Windows trees.
pelorin_library(unzip_methods
  SOURCES BitReader.cpp DecodingTable.cpp SlidingWindow.cpp Unshrink.cpp Unreduce.cpp Explode.cpp
          Inflate.cpp Stored.cpp Decoders.cpp)
