#include "files/errors.h"

#include <cerrno>
#include <system_error>

#include "platform/format.h"
#include "platform/messages.h"
#include "platform/texts.h"
#include "platform/utf.h"

namespace {

constexpr std::size_t kMaxSystemMessage = 1023;
constexpr int kFileMessageGroup = 0;
constexpr int kFileMessageEntry = 37;
constexpr char16_t kFileMessageFallback[] = u"Cannot access the file \"%s\".\n%s";

}  // namespace

namespace files {

std::u16string SystemMessage(int system_error) {
  std::u16string text = platform::FromUtf8(std::system_category().message(system_error));
  if (text.size() > kMaxSystemMessage) {
    text.resize(kMaxSystemMessage);
  }
  return text;
}

}  // namespace files

CKError::CKError(int code, bool show) : m_nCode(code) {
  if (code == -1) {
    m_nCode = errno;
    m_bFromSystem = true;
    m_csText = files::SystemMessage(m_nCode);
  }
  if (show) {
    Show();
  }
}

void CKError::Show() {
  platform::Messages().ShowMessage(m_csText, platform::MessageIcon::Warning);
}

CKFileError::CKFileError(const char16_t* file_name, bool show) : CKError(-1, false) {
  Compose(file_name, show);
}

CKFileError::CKFileError(const char16_t* file_name, bool show, int system_error)
    : CKError(0, false) {
  m_nCode = system_error;
  m_bFromSystem = true;
  m_csText = files::SystemMessage(system_error);
  Compose(file_name, show);
}

void CKFileError::Compose(const char16_t* file_name, bool show) {
  const std::u16string_view name =
      file_name != nullptr && file_name[0] != u'\0' ? file_name : u"Unnamed";
  const std::u16string format =
      platform::Text(kFileMessageGroup, kFileMessageEntry, kFileMessageFallback);
  m_csText = platform::Format(format, name, std::u16string_view(m_csText));
  if (show) {
    Show();
  }
}

void CKFileError::Show() {
  platform::Messages().ShowMessage(m_csText, platform::MessageIcon::Error);
}
