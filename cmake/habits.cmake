# The house's habits, checked with the tests: every C++ file formatted, every shell script
# clean, a valid desktop entry.
add_test(NAME clang_format COMMAND bash -c "git ls-files -z '*.cpp' '*.h' | \
  xargs -0 clang-format --dry-run --Werror" WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
add_test(NAME shellcheck COMMAND bash -c "git ls-files -z '*.sh' .ci/run | xargs -0 shellcheck -x"
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
add_test(NAME desktop_entry
  COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/packaging/lurvendel.desktop)
set_tests_properties(clang_format shellcheck desktop_entry PROPERTIES LABELS habits)
