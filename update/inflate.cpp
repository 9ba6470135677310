#include "update/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace morvela {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Inflates with the destination open; throws InflateError on the first problem.
uint64_t InflateInto(FILE* in, FILE* out, uint64_t limit) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw InflateError("the inflater could not be started");
  struct End {
    z_stream* z;
    ~End() { inflateEnd(z); }
  } end{&z};

  std::vector<unsigned char> input(64 * 1024), output(256 * 1024);
  uint64_t total = 0;
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    if (z.avail_in == 0) {
      const size_t n = std::fread(input.data(), 1, input.size(), in);
      if (n == 0) {
        if (std::ferror(in)) throw InflateError("the package could not be read");
        throw InflateError("the package ends before its compressed stream does");
      }
      z.next_in = input.data();
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = output.data();
    z.avail_out = static_cast<uInt>(output.size());
    rc = inflate(&z, Z_NO_FLUSH);
    if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR)
      throw InflateError(std::string("the package is not a valid compressed stream (") +
                         (z.msg ? z.msg : "zlib error") + ")");
    const size_t produced = output.size() - z.avail_out;
    total += produced;
    if (total > limit)
      throw InflateError("the package inflates to more than " + std::to_string(limit) + " bytes");
    if (produced && std::fwrite(output.data(), 1, produced, out) != produced)
      throw InflateError("the inflated package could not be written");
  }
  if (z.avail_in > 0 || std::fgetc(in) != EOF)
    throw InflateError("the package holds data after its compressed stream");
  return total;
}

}  // namespace

uint64_t InflateFile(const fs::path& source, const fs::path& destination, uint64_t limit) {
  FilePtr in(std::fopen(source.c_str(), "rb"));
  if (!in) throw InflateError("cannot open " + source.string());
  // The disk's free space bounds the result too: a package must not fill the disk.
  std::error_code ec;
  const fs::space_info space =
      fs::space(destination.has_parent_path() ? destination.parent_path() : ".", ec);
  if (!ec) limit = std::min<uint64_t>(limit, space.available);
  try {
    FilePtr out(std::fopen(destination.c_str(), "wb"));
    if (!out) throw InflateError("cannot write " + destination.string());
    const uint64_t total = InflateInto(in.get(), out.get(), limit);
    if (std::fflush(out.get()) != 0 || std::fclose(out.release()) != 0)
      throw InflateError("the inflated package could not be written");
    return total;
  } catch (...) {
    fs::remove(destination, ec);
    throw;
  }
}

}  // namespace morvela
