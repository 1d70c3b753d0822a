#include "cli/error_messages.h"

#include <unistd.h>

#include "cli/output_stream.h"

namespace cli {
namespace {

constexpr std::string_view kProgramName = "vaultquill-cli: ";

}  // namespace

ErrorMessages::ErrorMessages() : previous_(platform::InstallMessages(this)) {}

ErrorMessages::~ErrorMessages() {
  platform::InstallMessages(previous_);
}

void ErrorMessages::ShowMessage(const std::u16string& text, platform::MessageIcon /*icon*/) {
  ReportError(text);
}

bool ErrorMessages::Ask(const std::u16string& text) {
  OutputStream err(STDERR_FILENO);
  err.Write(kProgramName);
  err.WriteText(text);
  err.Write(" [answered No]\n");
  return false;
}

void ReportError(std::string_view text) {
  OutputStream err(STDERR_FILENO);
  err.Write(kProgramName);
  err.Write(text);
  err.Write("\n");
}

void ReportError(std::u16string_view text) {
  OutputStream err(STDERR_FILENO);
  err.Write(kProgramName);
  err.WriteText(text);
  err.Write("\n");
}

}  // namespace cli
