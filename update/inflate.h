// Inflating a downloaded package: one zlib stream (RFC 1950) into a file, streamed block by
// block, never held whole in memory.
#pragma once

#include <cstdint>
#include <filesystem>

#include "core/error.h"

namespace morvela {

// The most a package may inflate to unless the caller sets another limit.
inline constexpr uint64_t kDefaultInflateLimit = uint64_t{2} << 30;  // 2 GiB

class InflateError : public PackageError {
 public:
  using PackageError::PackageError;
};

// Inflates the zlib stream of `source` into `destination` (created or overwritten). Refuses,
// with InflateError, a stream that is broken or ends early, data after the stream's end, and
// an inflated size above `limit` or above the free space of the destination's disk. On every
// failure the destination is removed. Returns the inflated size.
uint64_t InflateFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                     uint64_t limit = kDefaultInflateLimit);

}  // namespace morvela
