#include "platform/profile_store.h"

#include <atomic>

#include "platform/memory_profile_store.h"

namespace platform {
namespace {

std::atomic<ProfileStore*> installed{nullptr};

MemoryProfileStore& DefaultStore() {
  static MemoryProfileStore store;
  return store;
}

}  // namespace

ProfileStore& Profile() {
  ProfileStore* store = installed.load();
  return store != nullptr ? *store : DefaultStore();
}

ProfileStore* InstallProfile(ProfileStore* store) {
  return installed.exchange(store);
}

const MemoryProfileStore::Value* MemoryProfileStore::Find(std::u16string_view section,
                                                          std::u16string_view entry) const {
  const auto found = values_.find(Key(section, entry));
  return found == values_.end() ? nullptr : &found->second;
}

void MemoryProfileStore::Store(std::u16string_view section, std::u16string_view entry,
                               Value value) {
  std::lock_guard lock(mutex_);
  values_.insert_or_assign(Key(section, entry), std::move(value));
}

std::uint32_t MemoryProfileStore::GetProfileInt(std::u16string_view section,
                                                std::u16string_view entry,
                                                std::uint32_t default_value) const {
  std::lock_guard lock(mutex_);
  const Value* value = Find(section, entry);
  const auto* number = value != nullptr ? std::get_if<std::uint32_t>(value) : nullptr;
  return number != nullptr ? *number : default_value;
}

std::u16string MemoryProfileStore::GetProfileString(std::u16string_view section,
                                                    std::u16string_view entry,
                                                    std::u16string_view default_value) const {
  std::lock_guard lock(mutex_);
  const Value* value = Find(section, entry);
  const auto* text = value != nullptr ? std::get_if<std::u16string>(value) : nullptr;
  return text != nullptr ? *text : std::u16string(default_value);
}

bool MemoryProfileStore::GetProfileBinary(std::u16string_view section, std::u16string_view entry,
                                          std::vector<std::uint8_t>& data) const {
  std::lock_guard lock(mutex_);
  const Value* value = Find(section, entry);
  const auto* bytes = value != nullptr ? std::get_if<std::vector<std::uint8_t>>(value) : nullptr;
  if (bytes == nullptr) {
    data.clear();
    return false;
  }
  data = *bytes;
  return true;
}

bool MemoryProfileStore::WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                                         std::uint32_t value) {
  Store(section, entry, value);
  return true;
}

bool MemoryProfileStore::WriteProfileString(std::u16string_view section, std::u16string_view entry,
                                            std::u16string_view value) {
  Store(section, entry, std::u16string(value));
  return true;
}

bool MemoryProfileStore::WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                                            std::span<const std::uint8_t> data) {
  Store(section, entry, std::vector<std::uint8_t>(data.begin(), data.end()));
  return true;
}

bool MemoryProfileStore::Contains(std::u16string_view section, std::u16string_view entry) const {
  std::lock_guard lock(mutex_);
  return Find(section, entry) != nullptr;
}

void MemoryProfileStore::Clear() {
  std::lock_guard lock(mutex_);
  values_.clear();
}

}  // namespace platform
