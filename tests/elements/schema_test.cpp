#include "elements/schema.h"

#include <gtest/gtest.h>

#include <memory>

#include "elements/tags.h"
#include "elements/tlv_array.h"

namespace {

// An array of the kind with its fields, in order.
std::unique_ptr<CKTLVARRAY> Make(
    std::uint32_t kind, std::initializer_list<std::pair<std::uint32_t, std::uint8_t>> fields) {
  auto array = std::make_unique<CKTLVARRAY>();
  array->SetTag(kind);
  for (const auto& [tag, type] : fields) {
    array->AddChild(CreateElement(tag, type));
  }
  return array;
}

#define Entry(...) (*Make(__VA_ARGS__))

const std::initializer_list<std::pair<std::uint32_t, std::uint8_t>> kNote = {
    {TAG_NAME, TLV_STRING},      {TAG_TEXT, TLV_STRING},    {TAG_LOGIN, TLV_STRING},
    {TAG_PASSWORD, TLV_STRING},  {TAG_URL, TLV_STRING},     {TAG_EMAIL, TLV_STRING},
    {TAG_CREATED, TLV_DWORD},    {TAG_MODIFIED, TLV_DWORD}, {TAG_RESERVED_21, TLV_DWORD},
    {TAG_RESERVED_1, TLV_DWORD}, {TAG_ICON, TLV_DWORD}};

TEST(CheckSchema, KindsWithTheirFields) {
  EXPECT_TRUE(CheckSchema(Entry(0, {})));
  EXPECT_TRUE(CheckSchema(Entry(ENTRY_ROOT, {})));
  EXPECT_TRUE(CheckSchema(Entry(SETTINGS_ROOT, {})));
  EXPECT_TRUE(CheckSchema(Entry(
      ENTRY_FOLDER, {{TAG_NAME, TLV_STRING}, {TAG_TEXT, TLV_STRING}, {TAG_ICON, TLV_DWORD}})));
  EXPECT_TRUE(CheckSchema(Entry(ENTRY_NOTE, kNote)));
  EXPECT_TRUE(
      CheckSchema(Entry(SETTING_TEXT, {{TAG_NAME, TLV_STRING}, {TAG_TEXT_VALUE, TLV_STRING}})));
  EXPECT_TRUE(
      CheckSchema(Entry(SETTING_NUMBER, {{TAG_NAME, TLV_STRING}, {TAG_NUMBER_VALUE, TLV_DWORD}})));
  EXPECT_TRUE(CheckSchema(Entry(ENTRY_ATTACHMENT, {{TAG_FILE_NAME, TLV_STRING},
                                                   {TAG_FILE_SIZE, TLV_DWORD},
                                                   {TAG_FILE_DATA, 0x42},  // any block type
                                                   {TAG_FILE_CREATED, TLV_DWORD},
                                                   {TAG_FILE_MODIFIED, TLV_DWORD},
                                                   {TAG_ICON, TLV_DWORD}})));
}

TEST(CheckSchema, MissingOrMistypedFieldsFail) {
  EXPECT_FALSE(CheckSchema(Entry(ENTRY_FOLDER, {{TAG_NAME, TLV_STRING}, {TAG_TEXT, TLV_STRING}})));
  EXPECT_FALSE(CheckSchema(Entry(ENTRY_UP, {{TAG_ICON, TLV_DWORD}})));
  EXPECT_FALSE(CheckSchema(Entry(0x8070, {})));
  // Only the first child with a tag counts.
  EXPECT_FALSE(CheckSchema(Entry(
      SETTING_NUMBER,
      {{TAG_NAME, TLV_STRING}, {TAG_NUMBER_VALUE, TLV_STRING}, {TAG_NUMBER_VALUE, TLV_DWORD}})));
  EXPECT_FALSE(
      CheckSchema(Entry(SETTING_TEXT, {{TAG_NAME, TLV_DWORD64}, {TAG_TEXT_VALUE, TLV_STRING}})));
  EXPECT_FALSE(CheckSchema(Entry(ENTRY_ATTACHMENT, {{TAG_FILE_NAME, TLV_STRING},
                                                    {TAG_FILE_SIZE, TLV_DWORD},
                                                    {TAG_FILE_DATA, TLV_STRING},
                                                    {TAG_FILE_CREATED, TLV_DWORD},
                                                    {TAG_FILE_MODIFIED, TLV_DWORD},
                                                    {TAG_ICON, TLV_DWORD}})));

  auto note = Make(ENTRY_NOTE, kNote);
  EXPECT_TRUE(CheckSchema(*note));
  note->RemoveChild(note->FindChild(TAG_RESERVED_21));
  EXPECT_FALSE(CheckSchema(*note));
}

}  // namespace
