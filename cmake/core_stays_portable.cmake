# The core builds wherever a C++20 compiler does: it links no library, and its sources include
# nothing but the standard library, the core itself and the ports. Nothing else would keep
# ALSA's or POSIX's headers out of it, for they lie on every include path: so the link interface
# is checked when configuring, and every build first checks the includes of the core's sources.
function(core_stays_portable target folders)
  get_target_property(linked ${target} LINK_LIBRARIES)
  if(linked)
    message(FATAL_ERROR "${target} links ${linked}; the core links no library")
  endif()
  set(sources "")
  foreach(folder ${folders})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp
         ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${found})
  endforeach()
  string(JOIN "|" own ${folders})
  set(stamp ${CMAKE_BINARY_DIR}/core_includes.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DSOURCES=${sources}" "-DOWN=${own}" -DSTAMP=${stamp}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_core_includes.cmake
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/cmake/check_core_includes.cmake
    COMMENT "Checking that the core includes only the standard library, itself and the ports"
    VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()
