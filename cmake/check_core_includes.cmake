# cmake -DSOURCES=<files> -DOWN=<folder|folder...> -DSTAMP=<file> -P check_core_includes.cmake
# Fails at the first include of a header that is neither the standard library's nor one of OWN.
foreach(source ${SOURCES})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*" "" header "${line}")
    if(NOT header MATCHES "^<[a-z_]+>$" AND NOT header MATCHES "^\"(${OWN})/")
      message(FATAL_ERROR "${source} includes ${header}: the core includes only the standard "
                          "library, itself and the ports")
    endif()
  endforeach()
endforeach()
file(TOUCH ${STAMP})
