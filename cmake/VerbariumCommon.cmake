# One interface target carries the language level, warnings and sanitizer flags; every
# target of the project links it.
add_library(verbarium_options INTERFACE)
target_compile_features(verbarium_options INTERFACE cxx_std_20)
target_compile_options(verbarium_options INTERFACE -Wall -Wextra)
if(VERBARIUM_WERROR)
  target_compile_options(verbarium_options INTERFACE -Werror)
endif()
if(VERBARIUM_SANITIZE)
  target_compile_options(verbarium_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(verbarium_options INTERFACE -fsanitize=address,undefined)
endif()
if(VERBARIUM_LIBFUZZER)
  # Coverage instrumentation for the libraries, so the fuzzers see inside them.
  target_compile_options(verbarium_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
set(CMAKE_CXX_EXTENSIONS OFF)

# Data/ of the build folder: the program and the real-data tests read it from there.
set(VERBARIUM_DATA_DIR "${CMAKE_BINARY_DIR}/Data" CACHE INTERNAL "compiled data folder")

# Adds the sources that exist. Modules are written side by side; a module lists its files
# here as it lands them.
function(verbarium_existing_sources out)
  set(result)
  foreach(src IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${src}")
      list(APPEND result "${CMAKE_CURRENT_SOURCE_DIR}/${src}")
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# verbarium_library(NAME SOURCES ... DEPS ...): a static library of the sources that exist
# (an interface library while it has none yet), exporting the project root as include path.
function(verbarium_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
  verbarium_existing_sources(srcs ${L_SOURCES})
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_DEPS} verbarium_options)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPS} verbarium_options)
  endif()
endfunction()
