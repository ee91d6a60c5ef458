# The lexical engine over small dictionaries written by the data-file writer. The writer lives
# with the tools, which an engines-only build leaves out; it is then built here from source.
if(NOT TARGET verbarium_datawriter AND EXISTS "${PROJECT_SOURCE_DIR}/tools/datafile_writer.cpp")
  add_library(verbarium_datawriter STATIC "${PROJECT_SOURCE_DIR}/tools/datafile_writer.cpp")
  target_include_directories(verbarium_datawriter PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(verbarium_datawriter PUBLIC verbarium_engine verbarium_options)
endif()

verbarium_test(nymdex_tests LABEL unit
  SOURCES
    nymdex_startup_test.cpp
    nymdex_words_test.cpp
    nymdex_senses_test.cpp
    nymdex_relations_test.cpp
    nymdex_corruption_test.cpp
    datafile_writer_test.cpp
  LIBS verbarium_engine verbarium_datawriter)
