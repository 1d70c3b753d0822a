#pragma once

#include <cstddef>

namespace platform {

// Overwrites n bytes with zeros in a way the optimiser may not drop, even when the
// memory is released right afterwards. Every copy of key material goes through here.
void SecureZero(void* data, std::size_t size) noexcept;

}  // namespace platform
