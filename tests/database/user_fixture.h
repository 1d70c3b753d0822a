#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "database/database.h"

namespace test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr char16_t kPassword[] = u"correct horse \u00e9t\u00e9";

std::u16string U16(const std::filesystem::path& path);
std::string Hex(const Bytes& bytes);
Bytes ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

// A database for the user file at path, opened as a new user is: salt, password, a memo; with
// few key-derivation iterations so that every open stays fast. Not yet saved.
std::unique_ptr<CKDatabase> NewUser(const std::filesystem::path& path,
                                    std::u16string_view password = kPassword,
                                    std::uint16_t iterations = 1);

// Adds a folder with a note that has an attachment, then a note at the root, named after the
// tag so that states differ; non-ASCII texts included.
void AddSampleEntries(CKDatabase& database, const std::u16string& tag);

// Both trees as they would be written: equal bytes mean equal user data.
Bytes TreeBytes(CKDatabase& database);

// Opens a user file with the password into a fresh database: the result, and the trees' bytes
// when it opened.
struct Opened {
  int result = -1;
  Bytes trees;
};
Opened OpenUserFile(const std::filesystem::path& path, std::u16string_view password = kPassword);

}  // namespace test
