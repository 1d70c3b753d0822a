#pragma once

#include <QString>

#include "platform/profile_store.h"

// The profile store of the user's configuration, on QSettings in the native format and the
// user scope: organisation "Orlavo software", application "VaultQuill", one group per settings
// group. On Linux that is "~/.config/Orlavo software/VaultQuill.conf"
// ($XDG_CONFIG_HOME honoured); on Windows the registry key of the same names.
//
// Every call works on a QSettings object of its own, which QSettings makes safe from several
// threads, and each write reaches the file before the call returns.
//
// Types: strings are QString values and byte blocks QByteArray values, both of which the file
// keeps apart. A whole number is written as a number; a text file holds it as its decimal
// digits, so reading an entry as a number accepts a string of decimal digits too.
class QSettingsProfileStore final : public platform::ProfileStore {
 public:
  static const QString kOrganisation;
  static const QString kApplication;

  std::uint32_t GetProfileInt(std::u16string_view section, std::u16string_view entry,
                              std::uint32_t default_value) const override;
  std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                  std::u16string_view default_value) const override;
  bool GetProfileBinary(std::u16string_view section, std::u16string_view entry,
                        std::vector<std::uint8_t>& data) const override;
  bool WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                       std::uint32_t value) override;
  bool WriteProfileString(std::u16string_view section, std::u16string_view entry,
                          std::u16string_view value) override;
  bool WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                          std::span<const std::uint8_t> data) override;
};
