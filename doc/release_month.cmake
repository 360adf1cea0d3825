# Prints the month of SOURCE_DATE_EPOCH as the manual pages write it, in English
# and in Japanese, a line each: "December 2026", "2026年12月".
# usage: cmake -E env SOURCE_DATE_EPOCH=<seconds> cmake -P release_month.cmake
string(TIMESTAMP english "%B %Y" UTC)
string(TIMESTAMP year "%Y" UTC)
string(TIMESTAMP month "%m" UTC)
math(EXPR month "${month}")  # "12", "1": no leading zero
execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${english}\n${year}年${month}月")
