#include "cli/command.h"

#include "elements/wipe_string.h"

namespace cli {

Invocation::~Invocation() {
  for (std::u16string& argument : arguments_) {
    WipeString(argument);
  }
  for (auto& [name, value] : values_) {
    WipeString(value);
  }
}

void Invocation::SetValue(std::string_view option, std::u16string value) {
  auto [it, added] = values_.try_emplace(std::string(option));
  WipeString(it->second);
  it->second = std::move(value);
}

std::u16string_view Invocation::OptionalArgument(std::size_t index) const {
  return index < arguments_.size() ? std::u16string_view(arguments_[index]) : std::u16string_view();
}

bool Invocation::IsSet(std::string_view option) const {
  return flags_.find(option) != flags_.end() || values_.find(option) != values_.end();
}

const std::u16string* Invocation::Value(std::string_view option) const {
  const auto it = values_.find(option);
  return it != values_.end() ? &it->second : nullptr;
}

}  // namespace cli
