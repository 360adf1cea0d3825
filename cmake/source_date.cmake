# The date every build command gives the files it makes, so that one commit gives
# the same bytes whichever made them: SOURCE_DATE_EPOCH when given, else the last
# commit's time, else (a source tarball, which git archive dates by its commit)
# the time of CMakeLists.txt. An empty SOURCE_DATE_EPOCH is no date: clang 19 and
# emcc refuse one.
# include()d with SOURCE_DIR set it sets source_date_epoch; as a script it prints it:
#   cmake -DSOURCE_DIR=. -P cmake/source_date.cmake
set(source_date_epoch "$ENV{SOURCE_DATE_EPOCH}")
if(source_date_epoch STREQUAL "")
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_VARIABLE source_date_epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(source_date_epoch STREQUAL "")
  file(TIMESTAMP ${SOURCE_DIR}/CMakeLists.txt source_date_epoch %s UTC)
endif()
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${source_date_epoch})
endif()
