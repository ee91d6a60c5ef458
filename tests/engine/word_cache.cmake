# The cache of the decoded word index.
verbarium_test(word_cache_tests LABEL unit
  SOURCES word_cache_test.cpp
  LIBS verbarium_engine verbarium_datawriter)
# The start-up's damaged-file tests once more, with the cache in use (their names prefixed, as
# the same tests run in nymdex_tests).
add_executable(warm_cache_startup_tests nymdex_startup_test.cpp warm_cache_environment.cpp)
target_link_libraries(warm_cache_startup_tests PRIVATE GTest::gtest_main verbarium_engine
  verbarium_datawriter GTest::gtest verbarium_options)
target_include_directories(warm_cache_startup_tests PRIVATE ${PROJECT_SOURCE_DIR})
gtest_discover_tests(warm_cache_startup_tests TEST_PREFIX "warm_cache."
  PROPERTIES LABELS unit DISCOVERY_TIMEOUT 120)
