// The build file comes from the network: only five ASCII digits may ever give a build.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "updater/build_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> content(data, size);
  const auto build = updater::ParseBuildNumber(content);

  bool five_digits = size == updater::kBuildFileDigits;
  for (std::size_t i = 0; five_digits && i < size; ++i) {
    five_digits = data[i] >= '0' && data[i] <= '9';
  }
  if (build.has_value() != five_digits) {
    __builtin_trap();
  }
  if (!build) {
    return 0;
  }
  // The number reads back as the same five digits.
  std::string digits = std::to_string(*build);
  digits.insert(0, updater::kBuildFileDigits - digits.size(), '0');
  if (digits != std::string(reinterpret_cast<const char*>(data), size)) {
    __builtin_trap();
  }
  const std::u16string name = updater::InstallerFileName(*build);
  if (!name.starts_with(u"vaultquill-") || !name.ends_with(u".exe") ||
      name.find(u'/') != std::u16string::npos) {
    __builtin_trap();
  }
  return 0;
}
