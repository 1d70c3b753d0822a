vq_fuzz(user_dirs SOURCES user_dirs.cpp DEPS vq_settings)
