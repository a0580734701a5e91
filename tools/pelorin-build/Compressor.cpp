// CompressFile: zlib's deflate at level 1 or 9, or Zopfli's zlib container when the tool is
// built with it; either way a zlib stream that the setup program's inflate reads.
#include "tools/pelorin-build/Compressor.h"

#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/Exception.h"
#include "setup/ZStream.h"

#ifdef PELORIN_WITH_ZOPFLI
#include <zopfli/zopfli.h>
#endif

namespace pelorin {

int ZlibLevel(Compression compression) { return compression == Compression::Fast ? 1 : 9; }

bool MaxCompressionAvailable() {
#ifdef PELORIN_WITH_ZOPFLI
    return true;
#else
    return false;
#endif
}

CompressedFile CompressFile(const std::string& path, Compression compression) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EReadError("cannot open " + path);
    CompressedFile file;
#ifdef PELORIN_WITH_ZOPFLI
    if (compression == Compression::Max) {
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) throw EReadError("Error reading the file to compress");
        ZopfliOptions options;
        ZopfliInitOptions(&options);
        unsigned char* out = nullptr;
        std::size_t outSize = 0;
        ZopfliCompress(&options, ZOPFLI_FORMAT_ZLIB, bytes.data(), bytes.size(), &out, &outSize);
        file.data.assign(out, out + outSize);
        std::free(out);
        file.result.UncompressedSize = bytes.size();
        file.result.CompressedSize = outSize;
        file.result.Adler32 = static_cast<std::uint32_t>(adler32_z(1, bytes.data(), bytes.size()));
        return file;
    }
#endif
    std::ostringstream out(std::ios::binary);
    file.result = DeflateStream(in, out, ZlibLevel(compression));
    const std::string data = out.str();
    file.data.assign(data.begin(), data.end());
    return file;
}

}  // namespace pelorin
