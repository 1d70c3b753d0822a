vq_fuzz(rtf_reader SOURCES rtf_reader.cpp DEPS vq_update_parse)
