#pragma once

#include <cstddef>
#include <cstdint>

// PBKDF2 (RFC 8018) with HMAC-SHA-256: writes outLength bytes derived from the password and the
// salt to out. An iteration count of 0 is taken as 1, so a damaged count can never make the
// derivation run for hours.
void PBKDF2_SHA256(const void* password, std::size_t passwordLength, const void* salt,
                   std::size_t saltLength, std::uint32_t iterations, std::uint8_t* out,
                   std::size_t outLength);
