set_tests_properties(app/EndToEnd_test PROPERTIES FIXTURES_REQUIRED postgres)

# The real program on its own X server, driven by X key and mouse events as an operator drives it.
add_test(NAME app/Operator
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/app/Operator_test.py $<TARGET_FILE:sorvanta> ${PROJECT_SOURCE_DIR}/examples)
set_tests_properties(app/Operator PROPERTIES LABELS app TIMEOUT 300 SKIP_RETURN_CODE 77)
