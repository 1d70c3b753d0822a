vq_fuzz(element_stream SOURCES element_stream.cpp DEPS vq_elements)
