# Copies IN to OUT with Windows line ends and @VERSION@ filled in; with BOM set,
# in UTF-8 with a byte-order mark, which Notepad before Windows 10 needs to read
# the text as UTF-8 rather than in the ANSI code page.
# A script run with cmake -P starts under the old policies: under the old CMP0053,
# "@VERSION@" in this script's own string(REPLACE) would be the version already.
cmake_minimum_required(VERSION 3.25)
file(READ ${IN} text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
if(BOM)
  string(ASCII 239 187 191 bom)
  string(PREPEND text "${bom}")
endif()
file(WRITE ${OUT} "${text}")
