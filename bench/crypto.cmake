# The crypto primitives next to OpenSSL's libcrypto, measured in the same run.
vq_bench(crypto
  SOURCES crypto_main.cpp crypto_sha256.cpp crypto_aes.cpp crypto_pbkdf2.cpp
  DEPS vq_crypto OpenSSL::Crypto)
