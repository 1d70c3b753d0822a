#include "support/recording_messages.h"

#include "platform/utf.h"

namespace test {

RecordingMessages::RecordingMessages() : previous_(platform::InstallMessages(this)) {}

RecordingMessages::~RecordingMessages() { platform::InstallMessages(previous_); }

void RecordingMessages::ShowMessage(const std::u16string& text, platform::MessageIcon icon) {
  shown_.push_back({text, icon, false});
}

bool RecordingMessages::Ask(const std::u16string& text) {
  shown_.push_back({text, platform::MessageIcon::Question, true});
  if (answers_.empty()) {
    return default_answer_;
  }
  const bool answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> RecordingMessages::Texts() const {
  std::vector<std::string> texts;
  for (const auto& s : shown_) {
    texts.push_back(platform::ToUtf8(s.text));
  }
  return texts;
}

}  // namespace test
