# vq_library(NAME SOURCES ... [PUBLIC_DEPS ...] [DEPS ...])
# A static library of one source folder; its folder is the include root of its headers,
# reached as "folder/header.h" from the src/ root.
function(vq_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE vq_build_flags ${ARG_DEPS} PUBLIC ${ARG_PUBLIC_DEPS})
endfunction()

# vq_test(NAME SOURCES ... DEPS ... [LABELS ...] [XVFB])
# A GoogleTest executable registered with CTest test by test.
function(vq_test name)
  cmake_parse_arguments(ARG "XVFB" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE vq_build_flags vq_test_support ${ARG_DEPS}
                                        GTest::gmock GTest::gtest_main)
  # Leak checking is on by default under AddressSanitizer; windows draw off screen.
  set(props ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  if(ARG_XVFB)
    # The run has one X server: its tests take turns (key grabs and windows are shared).
    list(APPEND props RESOURCE_LOCK vq_x_server)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES ${props})
endfunction()
