#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace test {

// Records every message and question; questions take their answers from a queue
// (No once it runs dry). Installed for its lifetime.
class RecordingMessages final : public platform::MessageSink {
 public:
  struct Shown {
    std::u16string text;
    platform::MessageIcon icon;
    bool question;
  };

  RecordingMessages();
  ~RecordingMessages() override;
  RecordingMessages(const RecordingMessages&) = delete;
  RecordingMessages& operator=(const RecordingMessages&) = delete;

  void ShowMessage(const std::u16string& text, platform::MessageIcon icon) override;
  bool Ask(const std::u16string& text) override;

  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  void AnswerAlways(bool yes) { default_answer_ = yes; }
  const std::vector<Shown>& shown() const { return shown_; }
  // The texts shown so far, as UTF-8, for readable test failures.
  std::vector<std::string> Texts() const;
  void Clear() { shown_.clear(); }

 private:
  std::vector<Shown> shown_;
  std::deque<bool> answers_;
  bool default_answer_ = false;
  platform::MessageSink* previous_;
};

}  // namespace test
