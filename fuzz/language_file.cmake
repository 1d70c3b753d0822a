vq_fuzz(language_file SOURCES language_file.cpp DEPS vq_languages vq_files)
