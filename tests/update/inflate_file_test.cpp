#include "update/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <random>
#include <string>

#include "test_support.h"

namespace morvela::test {
namespace {

// Three and a bit of the inflater's 256 KiB output blocks, so that a limit checked per block
// instead of on the running total would let the payload through.
constexpr uint64_t kPayloadSize = 3 * 256 * 1024 + 1000;

// Bytes that do not compress, so the package itself also spans several 64 KiB input reads.
std::string Payload(size_t size) {
  std::mt19937 gen(11);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(gen() & 0xff);
  return bytes;
}

std::filesystem::path WritePackage(const TempDir& dir, const std::string& payload) {
  uLongf size = compressBound(static_cast<uLong>(payload.size()));
  std::string packed(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                      reinterpret_cast<const Bytef*>(payload.data()),
                      static_cast<uLong>(payload.size()), Z_BEST_SPEED),
            Z_OK);
  packed.resize(size);
  const std::filesystem::path path = dir.Path() / "package.z";
  std::ofstream(path, std::ios::binary) << packed;
  return path;
}

TEST(InflateFileTest, TheLimitHoldsForTheWholeStreamNotEachBlock) {
  TempDir dir;
  const std::filesystem::path out = dir.Path() / "out.mdb";

  const std::string exact = Payload(kPayloadSize);
  EXPECT_EQ(InflateFile(WritePackage(dir, exact), out, kPayloadSize), kPayloadSize);
  EXPECT_EQ(ReadBytes(out), exact);

  EXPECT_THROW(InflateFile(WritePackage(dir, Payload(kPayloadSize + 1)), out, kPayloadSize),
               InflateError);
  EXPECT_FALSE(std::filesystem::exists(out)) << "a refused package leaves no partial file";
}

}  // namespace
}  // namespace morvela::test
