# The core builds wherever a C++20 compiler does: it links no library, and its sources include
# nothing outside core/ but the standard library. Nothing else would keep ALSA's, POSIX's or
# Windows' headers out of it, for they lie on every include path: so the link interface is checked
# when configuring, and every build first checks the includes of the core's sources.
function(core_stays_portable target)
  get_target_property(linked ${target} LINK_LIBRARIES)
  if(linked)
    message(FATAL_ERROR "${target} links ${linked}; the core links no library")
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/core_includes.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DSOURCES=${sources}" -DSTAMP=${stamp}
            -P ${PROJECT_SOURCE_DIR}/cmake/check_core_includes.cmake
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/check_core_includes.cmake
    COMMENT "Checking that the core includes nothing outside core/ and the standard library"
    VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()
