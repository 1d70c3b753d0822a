#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The build file on the maker's server ("/files/vaultquill.build") and what the program does
// with the number it holds.
namespace updater {

// The file holds the newest build as exactly this many ASCII digits and nothing else.
inline constexpr std::size_t kBuildFileDigits = 5;
// The checker reads one byte more than that, so that a longer file is seen as such.
inline constexpr std::size_t kBuildFileReadSize = kBuildFileDigits + 1;

// The build number of a build file's content: exactly five ASCII digits, read as decimal.
// Anything else (another length, a line break, a sign, a space, any other byte) means that
// the server offers no update, so nothing is returned.
std::optional<std::uint32_t> ParseBuildNumber(std::span<const std::uint8_t> content);

// Whether a build from the server is one to offer: newer than this program and newer than
// every build offered before.
bool IsBuildToOffer(std::uint32_t build, std::uint32_t own_build, std::uint32_t offered_build);

// The installer's file name for a build: "vaultquill-" + the build in decimal + ".exe".
std::u16string InstallerFileName(std::uint32_t build);

}  // namespace updater
