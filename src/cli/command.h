#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class Session;

// What `help` tells about a command.
struct CommandInfo {
  std::string_view name;
  // The arguments and options after the name, as the usage line shows them.
  std::string_view synopsis;
  std::string_view summary;
  std::string_view details;
  std::string_view example;
  std::size_t min_arguments;
  std::size_t max_arguments;
};

// An option of one command: a flag, or "--name VALUE" when it has a value name.
struct OptionInfo {
  std::string_view name;
  std::string_view value_name;
  std::string_view description;
};

// The arguments and options one command was given. Values are user data: wiped when the
// invocation goes.
class Invocation {
 public:
  Invocation() = default;
  ~Invocation();
  Invocation(const Invocation&) = delete;
  Invocation& operator=(const Invocation&) = delete;

  void AddArgument(std::u16string argument) { arguments_.push_back(std::move(argument)); }
  void SetFlag(std::string_view option) { flags_.emplace(option); }
  void SetValue(std::string_view option, std::u16string value);

  std::size_t ArgumentCount() const { return arguments_.size(); }
  const std::u16string& Argument(std::size_t index) const { return arguments_[index]; }
  // The argument, or an empty text when there are fewer.
  std::u16string_view OptionalArgument(std::size_t index) const;
  bool IsSet(std::string_view option) const;
  // The option's value; null when it was not given.
  const std::u16string* Value(std::string_view option) const;

 private:
  std::vector<std::u16string> arguments_;
  std::set<std::string, std::less<>> flags_;
  std::map<std::string, std::u16string, std::less<>> values_;
};

// One command of the tool: what it is called, what it takes, and what it does.
class Command {
 public:
  virtual ~Command() = default;
  virtual const CommandInfo& Info() const = 0;
  virtual std::span<const OptionInfo> Options() const { return {}; }
  // An exit code (exit_codes.h).
  virtual int Run(Session& session, const Invocation& call) = 0;
};

}  // namespace cli
