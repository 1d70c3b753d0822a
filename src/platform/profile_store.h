#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where the settings groups keep their values: named values in sections (one section per
// group), each a 32-bit whole number, a string or a byte block. A value keeps its type: reading
// it as another type finds nothing. The desktop program and the command-line tool install the
// store of the user's configuration; until then an in-memory store serves, so nothing below
// the interface touches the user's configuration by accident.
//
// The update checker writes three values from its own thread: implementations are safe to call
// from several threads at once.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The whole number of section/entry, or default_value when there is none of that type.
  virtual std::uint32_t GetProfileInt(std::u16string_view section, std::u16string_view entry,
                                      std::uint32_t default_value) const = 0;
  // The string of section/entry, or default_value when there is none of that type.
  virtual std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                          std::u16string_view default_value) const = 0;
  // True with the bytes (possibly none) when section/entry holds a byte block; else false and
  // data emptied.
  virtual bool GetProfileBinary(std::u16string_view section, std::u16string_view entry,
                                std::vector<std::uint8_t>& data) const = 0;

  // Each writer replaces whatever the entry held; true when the value was stored.
  virtual bool WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                               std::uint32_t value) = 0;
  virtual bool WriteProfileString(std::u16string_view section, std::u16string_view entry,
                                  std::u16string_view value) = 0;
  virtual bool WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                                  std::span<const std::uint8_t> data) = 0;
};

// The store in use.
ProfileStore& Profile();

// Installs a store (not owned) and returns the one it replaces; null restores the in-memory
// default.
ProfileStore* InstallProfile(ProfileStore* store);

}  // namespace platform
