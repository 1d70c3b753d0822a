# User files as outside input: opened with a password, and listed without one.
vq_fuzz(user_file SOURCES user_file.cpp DEPS vq_database)
vq_fuzz(user_file_header SOURCES user_file_header.cpp DEPS vq_database)
