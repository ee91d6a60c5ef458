# The data compiler and the target that compiles Data/ into the build folder.

set(VERBARIUM_WORDNET_DIR "/usr/share/wordnet" CACHE PATH "Princeton-format database folder")
set(VERBARIUM_WORDS_FILE "/usr/share/dict/words" CACHE FILEPATH "word list for anagrams")

add_executable(verbarium-mkdata mkdata_main.cpp)
target_link_libraries(verbarium-mkdata PRIVATE verbarium_mkdata_core verbarium_options)
target_compile_definitions(verbarium-mkdata PRIVATE
  VERBARIUM_MKDATA_ASSETS="${CMAKE_CURRENT_SOURCE_DIR}/data")

if(VERBARIUM_BUILD_DATA)
  set(mkdata_outputs)
  foreach(name 1001L.dat 1001W.dat 1001T.dat 1001A.dat 1001E.dat 1001S.dat tips.dat verbarium.bmp
               word-index.cache)
    list(APPEND mkdata_outputs "${VERBARIUM_DATA_DIR}/${name}")
  endforeach()
  set(mkdata_inputs
    "${CMAKE_CURRENT_SOURCE_DIR}/data/tips.dat"
    "${CMAKE_CURRENT_SOURCE_DIR}/data/verbarium.bmp"
    "${CMAKE_CURRENT_SOURCE_DIR}/data/two-letter-words.txt"
    "${VERBARIUM_WORDS_FILE}"
    "${VERBARIUM_WORDNET_DIR}/cntlist.rev")
  foreach(suffix noun verb adj adv)
    list(APPEND mkdata_inputs
      "${VERBARIUM_WORDNET_DIR}/data.${suffix}" "${VERBARIUM_WORDNET_DIR}/index.${suffix}"
      "${VERBARIUM_WORDNET_DIR}/${suffix}.exc")
  endforeach()
  add_custom_command(
    OUTPUT ${mkdata_outputs}
    COMMAND verbarium-mkdata
      --wordnet "${VERBARIUM_WORDNET_DIR}" --words "${VERBARIUM_WORDS_FILE}"
      --assets "${CMAKE_CURRENT_SOURCE_DIR}/data" --out "${VERBARIUM_DATA_DIR}"
    DEPENDS verbarium-mkdata ${mkdata_inputs}
    COMMENT "Compiling Data/ from ${VERBARIUM_WORDNET_DIR} and ${VERBARIUM_WORDS_FILE}"
    VERBATIM)
  add_custom_target(verbarium_data ALL DEPENDS ${mkdata_outputs})
  # The dictionary (with the decoded word index's copy, so that no first start decodes it),
  # shared and read-only; the custom database is each user's own and not installed.
  install(FILES ${mkdata_outputs} DESTINATION ${CMAKE_INSTALL_DATADIR}/verbarium/Data)
endif()
