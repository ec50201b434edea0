# Fails when a library of the core floor links something beyond it (Qt Gui or Widgets, SDL,
# a library above). Run as: cmake -DLINKS=<file> -P CheckCoreLinks.cmake, the file holding a
# line "library: what it links, all the way down" for each library of the core floor.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Floors.cmake)

file(STRINGS ${LINKS} lines)
set(libraries "")
foreach(line ${lines})
  string(REGEX MATCH "^[^:]+" library "${line}")
  list(APPEND libraries ${library})
endforeach()
if(NOT libraries)
  message(FATAL_ERROR "${LINKS} names no library of the core floor")
endif()

set(violations "")
foreach(line ${lines})
  string(REGEX MATCH "^([^:]+):(.*)$" pair "${line}")
  set(library ${CMAKE_MATCH_1})
  separate_arguments(linked UNIX_COMMAND "${CMAKE_MATCH_2}")
  foreach(item ${linked})
    if(NOT item IN_LIST libraries AND NOT item IN_LIST core_floor_links)
      list(APPEND violations "${library} links ${item}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "The core floor links beyond itself:\n  ${text}")
endif()
list(JOIN core_floor_links ", " others)
message(STATUS "The core floor links only itself and ${others}")
