#pragma once

#include <cstdint>

// The tags of a user file's element trees. Each entry is an array whose tag names its kind;
// its fields are scalar children named by theirs.

// Kinds of entry.
inline constexpr std::uint32_t ENTRY_ROOT = 0x8000;
inline constexpr std::uint32_t SETTINGS_ROOT = 0x8001;
inline constexpr std::uint32_t ENTRY_UP = 0x8010;  // in memory only, never in a file
inline constexpr std::uint32_t ENTRY_FOLDER = 0x8020;
inline constexpr std::uint32_t ENTRY_NOTE = 0x8030;
inline constexpr std::uint32_t SETTING_TEXT = 0x8040;
inline constexpr std::uint32_t ENTRY_ATTACHMENT = 0x8050;
inline constexpr std::uint32_t SETTING_NUMBER = 0x8060;

// Fields.
inline constexpr std::uint32_t TAG_RESERVED_1 = 1;      // 32-bit
inline constexpr std::uint32_t TAG_NAME = 16;           // string
inline constexpr std::uint32_t TAG_TEXT = 17;           // string
inline constexpr std::uint32_t TAG_ICON = 18;           // 32-bit
inline constexpr std::uint32_t TAG_CREATED = 19;        // 32-bit, seconds since 1970
inline constexpr std::uint32_t TAG_MODIFIED = 20;       // 32-bit, seconds since 1970
inline constexpr std::uint32_t TAG_RESERVED_21 = 21;    // 32-bit
inline constexpr std::uint32_t TAG_TEXT_VALUE = 22;     // string
inline constexpr std::uint32_t TAG_NUMBER_VALUE = 23;   // 32-bit
inline constexpr std::uint32_t TAG_LOGIN = 32;          // string
inline constexpr std::uint32_t TAG_PASSWORD = 33;       // string
inline constexpr std::uint32_t TAG_URL = 34;            // string
inline constexpr std::uint32_t TAG_EMAIL = 35;          // string
inline constexpr std::uint32_t TAG_FILE_SIZE = 48;      // 32-bit
inline constexpr std::uint32_t TAG_FILE_NAME = 49;      // string
inline constexpr std::uint32_t TAG_FILE_CREATED = 50;   // 32-bit, seconds since 1601
inline constexpr std::uint32_t TAG_FILE_MODIFIED = 51;  // 32-bit, seconds since 1601
inline constexpr std::uint32_t TAG_FILE_DATA = 52;      // byte block
