#pragma once

#include <string>

class CKTLVARRAY;

namespace database {

// Fills an attachment entry from a file: its content (at most 16,777,215 bytes), size, file
// times and file name. True when the attachment then passes its schema check. A file that is
// too large, or cannot be read whole, is refused with its message and leaves the entry
// unusable (the caller destroys it).
bool ImportAttachment(CKTLVARRAY& attachment, const std::u16string& path);

}  // namespace database
