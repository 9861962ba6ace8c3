# cmake -DSOURCES=<files> -DSTAMP=<file> -P check_core_includes.cmake
# Fails at the first include of a header that is neither the standard library's nor the core's.
foreach(source ${SOURCES})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*" "" header "${line}")
    if(NOT header MATCHES "^<[a-z_]+>$" AND NOT header MATCHES "^\"core/")
      message(FATAL_ERROR "${source} includes ${header}: the core includes nothing outside core/ "
                          "and the standard library")
    endif()
  endforeach()
endforeach()
file(TOUCH ${STAMP})
