add_test(NAME bench/grid COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/bench/grid_test.sh
                                 $<TARGET_FILE:sorvanta-bench> ${PROJECT_SOURCE_DIR})
set_tests_properties(bench/grid PROPERTIES LABELS bench TIMEOUT 120
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8")
