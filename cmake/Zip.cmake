# manacalc_zip(<target> <zip> FOLDER <folder> FILES <file>... [DEPENDS <target>...])
# Makes <zip>, the files under <folder>/ in the order given, the same bytes from
# any build (zip_files.cmake); staged in the current binary folder.
find_program(MANACALC_ZIP zip REQUIRED)

function(manacalc_zip target zip)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "FOLDER" "FILES;DEPENDS")
  set(script ${PROJECT_SOURCE_DIR}/cmake/zip_files.cmake)
  add_custom_command(
    OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -DZIP=${MANACALC_ZIP} -DOUT=${zip} -DFOLDER=${arg_FOLDER}
            -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${script} ${arg_FILES}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DEPENDS ${arg_FILES} ${arg_DEPENDS} ${script}
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${zip})
endfunction()
