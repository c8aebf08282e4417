# The tree itself: no tracked file names a folder of one machine.
add_test(NAME scripts/check-paths COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-paths.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(scripts/check-paths PROPERTIES LABELS scripts SKIP_RETURN_CODE 77)
add_test(NAME scripts/check-paths_test
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check-paths_test.sh ${PROJECT_SOURCE_DIR}/scripts/check-paths.sh)
set_tests_properties(scripts/check-paths_test PROPERTIES LABELS scripts)
# Every C++ file as clang-format writes it.
add_test(NAME scripts/check-format COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-format.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(scripts/check-format PROPERTIES LABELS scripts SKIP_RETURN_CODE 77)
