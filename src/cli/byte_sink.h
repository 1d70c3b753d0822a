#pragma once

#include <string_view>

namespace cli {

// Where output bytes go: standard output, or a string in the tests.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

}  // namespace cli
