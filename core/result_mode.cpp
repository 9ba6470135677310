#include "core/result_mode.h"

namespace morvela {

namespace {
constexpr std::string_view kCodes[kResultModeCount] = {"ft", "1h", "2h", "uo"};
}

std::optional<ResultMode> ResultModeFromCode(std::string_view code) {
  for (int i = 0; i < kResultModeCount; ++i)
    if (code == kCodes[i]) return static_cast<ResultMode>(i);
  return std::nullopt;
}

std::string_view ResultModeCode(ResultMode mode) {
  return kCodes[ModeIndex(mode)];
}

}  // namespace morvela
