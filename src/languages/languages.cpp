#include "languages/languages.h"

#include <memory>

#include "files/file_utils.h"
#include "platform/text_case.h"

CKLanguages::~CKLanguages() {
  RemoveAsTextSource();
}

bool CKLanguages::Scan() {
  std::u16string folder;
  if (!GetWorkingFolder(folder)) {
    active_ = nullptr;
    languages_.DeleteAll();
    return false;
  }
  return ScanFolder(folder);
}

bool CKLanguages::ScanFolder(const std::u16string& program_folder) {
  // The languages go, so no pointer to one may stay behind.
  active_ = nullptr;
  languages_.DeleteAll();

  std::u16string folder = program_folder;
  AddBackslash(folder);
  folder += u"Languages/";
  std::vector<std::u16string> names;
  ListFolder(names, folder + u"*.language", false);
  for (const auto& name : names) {
    auto language = std::make_unique<CKLanguage>(folder + name);
    if (language->Load()) {
      language->Unload();
      languages_.Add(language.get());
      language.release();
    }
  }
  return languages_.GetCount() > 0;
}

bool CKLanguages::GetNames(std::vector<std::u16string>& names) const {
  names.clear();
  for (const CKLanguage* language : languages_) {
    names.push_back(language->GetName());
  }
  return !names.empty();
}

bool CKLanguages::Activate(const std::u16string& name) {
  for (CKLanguage* language : languages_) {
    if (platform::EqualsIgnoringCase(language->GetName(), name)) {
      active_ = language;
      InstallAsTextSource();
      return language->Load();
    }
  }
  return false;
}

std::u16string CKLanguages::GetActiveName() const {
  return active_ != nullptr ? active_->GetName() : std::u16string();
}

bool CKLanguages::GetText(std::uint8_t group, std::uint8_t entry, std::u16string& text) const {
  return active_ != nullptr && active_->GetText(group, entry, text);
}

bool CKLanguages::GetTextByKey(std::uint32_t key, std::u16string& text) const {
  const auto address = languages::SplitTextKey(key);
  return address && GetText(address->group, address->entry, text);
}

std::size_t CKLanguages::GetGroupTexts(std::uint8_t group,
                                       std::vector<std::u16string>& texts) const {
  return active_ != nullptr ? active_->GetGroup(group, texts) : 0;
}

std::size_t CKLanguages::BuildMenu(std::uint8_t group, std::vector<KMenuItem>& menu) const {
  return active_ != nullptr ? active_->GetGroup(group, menu) : 0;
}

bool CKLanguages::GetTooltipText(TextTable table, std::uint32_t control,
                                 std::u16string& text) const {
  const auto key = languages::FindKeyForControl(table, control);
  return key && GetTextByKey(*key, text);
}

std::optional<std::u16string> CKLanguages::FindText(int group, int entry) const {
  if (group < 0 || group > 255 || entry < 0 || entry > 255) {
    return std::nullopt;
  }
  std::u16string text;
  if (!GetText(static_cast<std::uint8_t>(group), static_cast<std::uint8_t>(entry), text)) {
    return std::nullopt;
  }
  return text;
}

void CKLanguages::InstallAsTextSource() {
  if (!installed_) {
    previous_source_ = platform::InstallTexts(this);
    installed_ = true;
  }
}

void CKLanguages::RemoveAsTextSource() {
  if (!installed_) {
    return;
  }
  // Give the place back only if it is still ours; a source installed after this one stays.
  const platform::TextSource* current = platform::InstallTexts(previous_source_);
  if (current != this) {
    platform::InstallTexts(current);
  }
  installed_ = false;
}
