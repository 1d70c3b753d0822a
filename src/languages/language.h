#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "elements/ptr_array.h"
#include "languages/language_line.h"
#include "languages/menu_item.h"

// One language file: its path and name always, its entries while it is loaded.
class CKLanguage {
 public:
  using KLanguageLine = ::KLanguageLine;

  // Not loaded, no name, no entries.
  explicit CKLanguage(std::u16string path);
  CKLanguage(const CKLanguage&) = delete;
  CKLanguage& operator=(const CKLanguage&) = delete;

  // True at once when loaded; otherwise reads and parses the file. A rejected file leaves the
  // language unloaded with whatever name it had.
  bool Load();
  // The same rules applied to a file's whole content.
  bool LoadFromBytes(std::span<const std::uint8_t> bytes);
  // Drops the entries; path and name stay.
  void Unload();

  bool IsLoaded() const { return loaded_; }
  const std::u16string& GetPath() const { return path_; }
  const std::u16string& GetName() const { return name_; }
  std::size_t GetEntryCount() const { return entries_.GetCount(); }

  // The first entry in file order with that group and entry number; false (text untouched)
  // when there is none.
  bool GetText(std::uint8_t group, std::uint8_t entry, std::u16string& text) const;

  // The group's texts in file order, appended to the list. The walk ends at the first entry
  // of another group after the first one taken, so a group's entries must stand together.
  // Returns the number appended.
  std::size_t GetGroup(std::uint8_t group, std::vector<std::u16string>& list) const;
  // The group's items appended to a popup menu: entry 0 is left out, the command of an item
  // is its entry number, a text of "%" makes a separator. Same walk; returns the number
  // appended.
  std::size_t GetGroup(std::uint8_t group, std::vector<KMenuItem>& menu) const;

 private:
  template <typename Take>
  std::size_t WalkGroup(std::uint8_t group, Take take) const;

  bool loaded_ = false;
  std::u16string path_;
  std::u16string name_;
  CKPtrAutoArray<KLanguageLine*> entries_;
};
