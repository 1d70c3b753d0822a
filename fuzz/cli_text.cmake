# The command-line tool's JSON strings and entry paths. Their sources are standard C++, so the
# target builds them directly, also in the fuzzing build, which has no Qt.
vq_fuzz(cli_text
  SOURCES cli_text.cpp
    ${PROJECT_SOURCE_DIR}/src/cli/entry_path.cpp
    ${PROJECT_SOURCE_DIR}/src/cli/json_writer.cpp
    ${PROJECT_SOURCE_DIR}/src/cli/text_encoding.cpp
  DEPS vq_elements vq_platform)
