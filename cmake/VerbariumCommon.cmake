# One interface target carries the language level, warnings and sanitizer flags; every
# target of the project links it.
add_library(verbarium_options INTERFACE)
target_compile_features(verbarium_options INTERFACE cxx_std_20)
target_compile_options(verbarium_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Woverloaded-virtual -Wnon-virtual-dtor)
if(VERBARIUM_WERROR)
  target_compile_options(verbarium_options INTERFACE -Werror)
endif()
if(VERBARIUM_SANITIZE)
  target_compile_options(verbarium_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(verbarium_options INTERFACE -fsanitize=address,undefined)
endif()
if(VERBARIUM_TSAN)
  target_compile_options(verbarium_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(verbarium_options INTERFACE -fsanitize=thread)
endif()
if(VERBARIUM_LIBFUZZER)
  # Coverage instrumentation for the libraries, so the fuzzers see inside them.
  target_compile_options(verbarium_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
set(CMAKE_CXX_EXTENSIONS OFF)

# Install folders (bin, share) for the install() rules of the programs and the data.
include(GNUInstallDirs)

# Data/ of the build folder: the program and the real-data tests read it from there.
set(VERBARIUM_DATA_DIR "${CMAKE_BINARY_DIR}/Data" CACHE INTERNAL "compiled data folder")

# verbarium_library(NAME SOURCES ... DEPS ...): a static library exporting the project root as
# include path. Every source is listed; a missing file is a configure error.
function(verbarium_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS} verbarium_options)
endfunction()

# verbarium_qt_library(NAME SOURCES ... DEPS ...): a static library of Qt classes (moc and
# resources run for it), linking the Qt options below.
function(verbarium_qt_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS} verbarium_qt_options verbarium_options)
endfunction()
