#include "updater/build_number.h"

namespace updater {

std::optional<std::uint32_t> ParseBuildNumber(std::span<const std::uint8_t> content) {
  if (content.size() != kBuildFileDigits) {
    return std::nullopt;
  }
  std::uint32_t build = 0;
  for (const std::uint8_t byte : content) {
    if (byte < '0' || byte > '9') {
      return std::nullopt;
    }
    build = build * 10 + static_cast<std::uint32_t>(byte - '0');
  }
  return build;
}

bool IsBuildToOffer(std::uint32_t build, std::uint32_t own_build, std::uint32_t offered_build) {
  return build > own_build && build > offered_build;
}

std::u16string InstallerFileName(std::uint32_t build) {
  std::u16string name = u"vaultquill-";
  for (const char digit : std::to_string(build)) {
    name.push_back(static_cast<char16_t>(digit));
  }
  name += u".exe";
  return name;
}

}  // namespace updater
