#include "recording_profile_store.h"

#include "platform/utf.h"

namespace test {

RecordingProfileStore::RecordingProfileStore() : previous_(platform::InstallProfile(this)) {}

RecordingProfileStore::~RecordingProfileStore() {
  platform::InstallProfile(previous_);
}

void RecordingProfileStore::Note(const char* what, std::u16string_view section,
                                 std::u16string_view entry) const {
  calls_.push_back(std::string(what) + " " + platform::ToUtf8(section) + "/" +
                   platform::ToUtf8(entry));
}

std::uint32_t RecordingProfileStore::GetProfileInt(std::u16string_view section,
                                                   std::u16string_view entry,
                                                   std::uint32_t default_value) const {
  Note("read int", section, entry);
  return MemoryProfileStore::GetProfileInt(section, entry, default_value);
}

std::u16string RecordingProfileStore::GetProfileString(std::u16string_view section,
                                                       std::u16string_view entry,
                                                       std::u16string_view default_value) const {
  Note("read string", section, entry);
  return MemoryProfileStore::GetProfileString(section, entry, default_value);
}

bool RecordingProfileStore::GetProfileBinary(std::u16string_view section, std::u16string_view entry,
                                             std::vector<std::uint8_t>& data) const {
  Note("read binary", section, entry);
  return MemoryProfileStore::GetProfileBinary(section, entry, data);
}

bool RecordingProfileStore::WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                                            std::uint32_t value) {
  Note("write int", section, entry);
  return MemoryProfileStore::WriteProfileInt(section, entry, value);
}

bool RecordingProfileStore::WriteProfileString(std::u16string_view section,
                                               std::u16string_view entry,
                                               std::u16string_view value) {
  Note("write string", section, entry);
  return MemoryProfileStore::WriteProfileString(section, entry, value);
}

bool RecordingProfileStore::WriteProfileBinary(std::u16string_view section,
                                               std::u16string_view entry,
                                               std::span<const std::uint8_t> data) {
  Note("write binary", section, entry);
  return MemoryProfileStore::WriteProfileBinary(section, entry, data);
}

}  // namespace test
