# One interface target carries warnings and hardening into every target of the project.
add_library(vq_build_flags INTERFACE)

target_compile_options(vq_build_flags INTERFACE
  -Wall -Wextra -Wpedantic -Werror
  -Wshadow -Wnon-virtual-dtor -Wcast-align -Wformat=2 -Wimplicit-fallthrough
  -fstack-protector-strong
  $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
target_link_options(vq_build_flags INTERFACE -Wl,-z,relro -Wl,-z,now)

# GCC 12 reports overlapping copies inside std::basic_string that cannot happen when it inlines
# string concatenation at -O2 and above (GCC bugs 105329 and 105651); those reports would fail
# every optimised build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(vq_build_flags INTERFACE -Wno-restrict)
endif()

if(VQ_SANITIZE)
  target_compile_options(vq_build_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(vq_build_flags INTERFACE -fsanitize=address,undefined)
endif()

if(VQ_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VQ_BUILD_FUZZ needs clang++ (libFuzzer)")
  endif()
  target_compile_options(vq_build_flags INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(vq_build_flags INTERFACE -fsanitize=address,undefined)
endif()
