# update_unzip: the zip extraction component: archive directory, entry selection and
# extraction with passwords, checksums and progress. The decoders come from unzip_methods.
pelorin_library(update_unzip
  SOURCES Crc32.cpp ZipCrypt.cpp DosDateTime.cpp Percent.cpp ZipHeader.cpp EndCentral.cpp SortedZip.cpp
          Wildcard.cpp TargetPath.cpp EntryReader.cpp EntryWriter.cpp VCLUnZip.cpp ReadDirectory.cpp
          Extract.cpp ProgramImage.cpp
  LIBS update_strings platform_os unzip_methods)
