# The lexical engine over small dictionaries written by the data-file writer.
verbarium_test(nymdex_tests LABEL unit
  SOURCES
    nymdex_startup_test.cpp
    nymdex_words_test.cpp
    nymdex_senses_test.cpp
    nymdex_relations_test.cpp
    nymdex_corruption_test.cpp
    datafile_writer_test.cpp
  LIBS verbarium_engine verbarium_datawriter)
# The start-ups run threads: under ThreadSanitizer (scripts/test) only their tests are built,
# the lexical engine's and the anagram engine's together.
if(VERBARIUM_TSAN)
  verbarium_test(startup_thread_tests LABEL tsan
    SOURCES nymdex_startup_test.cpp ../anagram/jumble_test.cpp
    LIBS verbarium_engine verbarium_anagram verbarium_datawriter)
endif()
