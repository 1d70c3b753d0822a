#include "platform/messages.h"

#include <cstdio>

#include "platform/utf.h"

namespace platform {
namespace {

class StandardErrorSink final : public MessageSink {
 public:
  void ShowMessage(const std::u16string& text, MessageIcon /*icon*/) override {
    std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
  }
  bool Ask(const std::u16string& text) override {
    std::fprintf(stderr, "%s [answered No]\n", ToUtf8(text).c_str());
    return false;
  }
};

StandardErrorSink default_sink;
MessageSink* installed = nullptr;

}  // namespace

MessageSink& Messages() { return installed != nullptr ? *installed : default_sink; }

MessageSink* InstallMessages(MessageSink* sink) {
  MessageSink* previous = installed;
  installed = sink;
  return previous;
}

}  // namespace platform
