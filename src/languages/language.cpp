#include "languages/language.h"

#include <sys/stat.h>

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "files/file.h"
#include "files/native_path.h"
#include "languages/language_file.h"

namespace {

// Only a plain file is opened: a pipe or device named like a language file would block the
// read or never end.
bool IsPlainFile(const std::u16string& path) {
  std::string native;
  struct stat info {};
  return files::NativePath(path, native) && stat(native.c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

// The whole file, or nothing when it cannot be opened, sized or read, or its size is out of
// the accepted range. Nothing is shown: a language file that cannot be used is skipped.
std::optional<std::vector<std::uint8_t>> ReadLanguageFile(const std::u16string& path) {
  if (!IsPlainFile(path)) {
    return std::nullopt;
  }
  try {
    CKFile file(false, false);
    if (!file.Open(path, CKFile::modeRead | CKFile::shareDenyWrite)) {
      return std::nullopt;
    }
    std::uint64_t length = 0;
    if (!file.GetLength(length) || length < languages::kMinFileSize ||
        length > languages::kMaxFileSize) {
      return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
      std::uint32_t done = 0;
      if (!file.Read(bytes.data() + filled, static_cast<std::uint32_t>(bytes.size() - filled),
                     &done)) {
        return std::nullopt;
      }
      if (done == 0) {
        break;  // the file became shorter since it was sized
      }
      filled += done;
    }
    bytes.resize(filled);
    return bytes;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

CKLanguage::CKLanguage(std::u16string path) : path_(std::move(path)) {}

bool CKLanguage::Load() {
  if (loaded_) {
    return true;
  }
  const auto bytes = ReadLanguageFile(path_);
  return bytes && LoadFromBytes(*bytes);
}

bool CKLanguage::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  if (loaded_) {
    return true;
  }
  auto parsed = languages::ParseLanguageFile(bytes);
  if (!parsed) {
    return false;
  }
  entries_.DeleteAll();
  try {
    for (auto& line : parsed->entries) {
      auto owned = std::make_unique<KLanguageLine>(std::move(line));
      entries_.Add(owned.get());
      owned.release();
    }
  } catch (const std::bad_alloc&) {
    entries_.DeleteAll();
    return false;
  }
  name_ = std::move(parsed->name);
  loaded_ = true;
  return true;
}

void CKLanguage::Unload() {
  entries_.DeleteAll();
  loaded_ = false;
}

bool CKLanguage::GetText(std::uint8_t group, std::uint8_t entry, std::u16string& text) const {
  for (const KLanguageLine* line : entries_) {
    if (line->group == group && line->entry == entry) {
      text = line->text;
      return true;
    }
  }
  return false;
}

template <typename Take>
std::size_t CKLanguage::WalkGroup(std::uint8_t group, Take take) const {
  std::size_t taken = 0;
  for (const KLanguageLine* line : entries_) {
    if (line->group == group) {
      if (take(*line)) {
        ++taken;
      }
    } else if (taken > 0) {
      break;
    }
  }
  return taken;
}

std::size_t CKLanguage::GetGroup(std::uint8_t group, std::vector<std::u16string>& list) const {
  return WalkGroup(group, [&](const KLanguageLine& line) {
    list.push_back(line.text);
    return true;
  });
}

std::size_t CKLanguage::GetGroup(std::uint8_t group, std::vector<KMenuItem>& menu) const {
  return WalkGroup(group, [&](const KLanguageLine& line) {
    if (line.entry == 0) {
      return false;
    }
    menu.push_back(KMenuItem{line.entry, line.text, line.text == u"%"});
    return true;
  });
}
