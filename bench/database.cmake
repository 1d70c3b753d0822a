# Loading and saving a large user next to the least any implementation must spend on it
# (libcrypto's key derivation and AES-256-CBC over the same bytes), and the peak memory of a load.
vq_bench(database
  SOURCES database_main.cpp database_load_save.cpp database_user.cpp
  DEPS vq_database OpenSSL::Crypto)
