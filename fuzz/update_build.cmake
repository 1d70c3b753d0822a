vq_fuzz(update_build SOURCES update_build.cpp DEPS vq_update_parse)
