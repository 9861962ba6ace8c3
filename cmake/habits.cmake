# The house's habits: every C++ file formatted (`cmake --build <dir> --target format` rewrites
# them), and, with the tests, every shell script clean and a valid desktop entry.
set(cxx_files "scripts/source-files.sh '*.cpp' '*.h' | xargs -0")
add_custom_target(format COMMAND bash -c "${cxx_files} clang-format -i"
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
if(NOT LURVENDEL_TESTS)
  return()
endif()
add_test(NAME clang_format COMMAND bash -c "${cxx_files} clang-format --dry-run --Werror"
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
add_test(NAME shellcheck COMMAND bash -c "scripts/source-files.sh '*.sh' .ci/run | xargs -0 shellcheck -x"
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
add_test(NAME desktop_entry
  COMMAND desktop-file-validate ${PROJECT_SOURCE_DIR}/packaging/lurvendel.desktop)
set_tests_properties(clang_format shellcheck desktop_entry PROPERTIES LABELS habits)
