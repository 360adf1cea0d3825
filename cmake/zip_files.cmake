# Packs the files named after the script into OUT, each as FOLDER/<its name>, in
# the order given, as the same bytes from any build of one commit: every entry
# dated as every build dates its files (source_date.cmake), in UTC, readable by all
# and writable by its owner whatever the umask, and without zip's extra fields,
# which would carry the builder's user and times.
# usage: cmake -DZIP=zip -DOUT=x.zip -DFOLDER=name -DSOURCE_DIR=dir -P zip_files.cmake FILE...
cmake_minimum_required(VERSION 3.25)

set(files)
set(after_script -1)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_script EQUAL 1)
    list(APPEND files "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "-P")
    set(after_script 0)
  elseif(after_script EQUAL 0)
    set(after_script 1)
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/source_date.cmake)

file(REMOVE_RECURSE ${FOLDER} ${OUT})
file(MAKE_DIRECTORY ${FOLDER})
set(entries)
foreach(file IN LISTS files)
  cmake_path(GET file FILENAME name)
  file(COPY_FILE ${file} ${FOLDER}/${name})
  file(CHMOD ${FOLDER}/${name} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  execute_process(COMMAND touch -d @${source_date_epoch} ${FOLDER}/${name} COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND entries ${FOLDER}/${name})
endforeach()
# zip reads further options from ZIPOPT, which the builder may have set.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ZIPOPT TZ=UTC
                        ${ZIP} -q -X -9 ${OUT} ${entries}
                COMMAND_ERROR_IS_FATAL ANY)
