# Codec primitives: MD5 and the file digest, the record cipher, the arithmetic coder.
verbarium_test(engine_primitives_tests LABEL unit
  SOURCES md5_test.cpp encrypt_test.cpp arith_coder_test.cpp arith_resume_test.cpp
    mapped_file_test.cpp
  LIBS verbarium_engine)
# The decoder over every stream of the compiled Data/.
verbarium_test(engine_data_tests LABEL data
  SOURCES codec_data_test.cpp
  LIBS verbarium_engine)
