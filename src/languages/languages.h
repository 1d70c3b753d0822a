#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "elements/ptr_array.h"
#include "languages/language.h"
#include "languages/menu_item.h"
#include "languages/text_table.h"
#include "platform/format.h"
#include "platform/texts.h"

// Every language file found beside the program, and the active one. Every lookup works on
// the active language; with none active every lookup finds nothing.
//
// Once a language is active the collection is the platform's text source (platform::Text),
// so that the layers below it find their texts too; it gives that up when destroyed.
class CKLanguages final : public platform::TextSource {
 public:
  CKLanguages() = default;
  ~CKLanguages() override;
  CKLanguages(const CKLanguages&) = delete;
  CKLanguages& operator=(const CKLanguages&) = delete;

  // Rebuilds the collection from the files "Languages/*.language" of the current folder
  // (the program's folder). True when at least one file was accepted.
  bool Scan();
  // The same for the language folder below the given folder.
  bool ScanFolder(const std::u16string& program_folder);

  // Empties the list, then appends every language's name in collection order; true when
  // there is at least one.
  bool GetNames(std::vector<std::u16string>& names) const;
  // The first language whose name equals `name` without regard to case becomes active and
  // is loaded; the result is that of its Load. False, active language unchanged, when no
  // name matches.
  bool Activate(const std::u16string& name);
  // Empty while no language is active.
  std::u16string GetActiveName() const;

  bool GetText(std::uint8_t group, std::uint8_t entry, std::u16string& text) const;
  // By text key (group * 256 + entry); false for a key that names no text.
  bool GetTextByKey(std::uint32_t key, std::u16string& text) const;
  // The group's texts in file order (see CKLanguage::GetGroup); returns how many.
  std::size_t GetGroupTexts(std::uint8_t group, std::vector<std::u16string>& texts) const;
  // The group's items as a popup menu (see CKLanguage::GetGroup); returns how many.
  std::size_t BuildMenu(std::uint8_t group, std::vector<KMenuItem>& menu) const;
  // The text of the first pair of a text table with that control id.
  bool GetTooltipText(TextTable table, std::uint32_t control, std::u16string& text) const;

  // Message (group 0) in an OK box; an empty box when the text is missing. Always true.
  bool ShowMessage(std::uint8_t entry) const;
  // The same with the text's fields filled from the values (platform::FormatText).
  bool ShowMessageFormat(std::uint8_t entry, std::span<const platform::FormatValue> values) const;
  // Question (group 1) in a Yes/No box; true for Yes.
  bool Ask(std::uint8_t entry) const;
  bool AskFormat(std::uint8_t entry, std::span<const platform::FormatValue> values) const;
  // The notice after a change of language (message 0).
  bool ShowLanguageNotice() const;

  template <typename... Values>
  bool ShowMessageFormat(std::uint8_t entry, const Values&... values) const {
    const std::array<platform::FormatValue, sizeof...(Values)> list{
        platform::FormatValue(values)...};
    return ShowMessageFormat(entry, std::span<const platform::FormatValue>(list));
  }
  template <typename... Values>
  bool AskFormat(std::uint8_t entry, const Values&... values) const {
    const std::array<platform::FormatValue, sizeof...(Values)> list{
        platform::FormatValue(values)...};
    return AskFormat(entry, std::span<const platform::FormatValue>(list));
  }

  // platform::TextSource
  std::optional<std::u16string> FindText(int group, int entry) const override;

 private:
  void InstallAsTextSource();
  void RemoveAsTextSource();
  // The active language's text, or empty.
  std::u16string TextOrEmpty(std::uint8_t group, std::uint8_t entry) const;

  CKLanguage* active_ = nullptr;  // one of languages_, not owned separately
  CKPtrAutoArray<CKLanguage*> languages_;
  bool installed_ = false;
  const platform::TextSource* previous_source_ = nullptr;
};
