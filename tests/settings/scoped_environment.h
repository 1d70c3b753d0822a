#pragma once

#include <map>
#include <optional>
#include <string>

namespace test {

// Sets and unsets environment variables; each one touched gets its old value back at the end.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& name, const std::string& value);
  void Unset(const std::string& name);

 private:
  void Remember(const std::string& name);
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace test
