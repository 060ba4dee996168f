# Fails when two folders under SOURCE_DIR include each other: the folders of
# the program are layers, each reading only the ones below it. A folder and
# its own subfolders count as one part (engine's choice of plotter reads its
# families, and they read what the engine shares), so only folders that are
# not nested are compared, siblings among them.
# Usage: cmake -DSOURCE_DIR=<src> -P include_direction.cmake
cmake_minimum_required(VERSION 3.20)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(edges)
foreach(source IN LISTS sources)
  get_filename_component(from ${source} DIRECTORY)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[^\"]+/[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)/[^/\"]+\".*" "\\1" to "${line}")
    if(to STREQUAL from OR from MATCHES "^${to}/" OR to MATCHES "^${from}/")
      continue()
    endif()
    list(APPEND edges "${from}>${to}")
    set(where_${from}-to-${to} "${source}")
  endforeach()
endforeach()
list(REMOVE_DUPLICATES edges)
set(failed FALSE)
foreach(edge IN LISTS edges)
  string(REPLACE ">" ";" ends ${edge})
  list(GET ends 0 from)
  list(GET ends 1 to)
  if("${to}>${from}" IN_LIST edges AND from STRLESS to)
    message(SEND_ERROR "${from} and ${to} include each other: "
                       "${where_${from}-to-${to}} and ${where_${to}-to-${from}}")
    set(failed TRUE)
  endif()
endforeach()
if(NOT failed)
  list(LENGTH edges count)
  message(STATUS "${count} include directions between folders, none both ways")
endif()
