#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cli {

// Writes bytes that may be secret (an attachment) to a new file of mode 0600, made durable
// before it counts as written. An existing file (or link) at the path is never written
// through: without replace it is kept and kExitNameUsed returned; with replace the new file is
// written beside it and then takes its place. A file that could not be written whole is
// removed. An exit code; failures are said on standard error.
int WriteSecretFile(const std::u16string& path, const std::uint8_t* data, std::size_t size,
                    bool replace);

}  // namespace cli
