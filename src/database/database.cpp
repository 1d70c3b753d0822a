#include "database/database.h"

#include "crypto/user_file_io.h"
#include "database/tree_io.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "platform/text_case.h"

namespace {

void ResetRoot(CKTLVARRAY& root, std::uint32_t tag) {
  root.RemoveAllChildren();
  root.SetHeaderWord(0);
  root.SetType(TLV_ARRAY);
  root.SetTag(tag);
  WipeString(root.NameCache());
  WipeString(root.DescriptionCache());
  WipeString(root.KindCache());
  root.IconCache() = 0;
}

}  // namespace

CKDatabase::CKDatabase() {
  ResetTrees();
}

CKDatabase::~CKDatabase() {
  Reset(true);
}

void CKDatabase::SetPath(std::u16string_view path) {
  std::u16string fresh(path);
  WipeString(m_csPath);
  m_csPath.swap(fresh);
}

void CKDatabase::SetName(std::u16string_view name) {
  std::u16string fresh(name);
  WipeString(m_csName);
  m_csName.swap(fresh);
}

bool CKDatabase::NameEquals(std::u16string_view name) const {
  return platform::EqualsIgnoringCase(m_csName, name);
}

void CKDatabase::ResetTrees() {
  ResetRoot(m_Entries, ENTRY_ROOT);
  ResetRoot(m_Settings, SETTINGS_ROOT);
}

void CKDatabase::Reset(bool clear_identity) {
  m_Keys.ResetHeader();
  m_bOpen = false;
  if (clear_identity) {
    WipeString(m_csPath);
    WipeString(m_csName);
  }
  ResetTrees();
}

int CKDatabase::Load() {
  Reset(false);
  CKUserFileReader reader;
  return reader.Open(m_csPath, m_Keys);
}

int CKDatabase::Load(std::u16string_view password) {
  Reset(false);
  CKUserFileReader reader;
  int result = reader.Open(m_csPath, m_Keys);
  if (result == userfile::kOpened) {
    result = reader.Unlock(password, m_Keys);
  }
  if (result == userfile::kOpened) {
    result = database::ReadTrees(reader.Stream(), m_Entries, m_Settings);
  }
  reader.Close();
  if (result != userfile::kOpened) {
    // Nothing of a file that did not open stays in memory but what the users list shows.
    m_Keys.WipeKey();
    ResetTrees();
    return result;
  }
  m_bOpen = true;
  return result;
}

std::u16string NewFilePath(std::u16string_view user_file) {
  return std::u16string(user_file) + u".new";
}

std::u16string BackupFilePath(std::u16string_view user_file) {
  return std::u16string(user_file) + u".backup";
}
