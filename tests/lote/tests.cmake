# The real batch program killed while it sends, then run again to the end.
add_test(NAME lote/Kill COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Kill_test.py
                                $<TARGET_FILE:sorvanta-lote>)
set_tests_properties(lote/Kill PROPERTIES LABELS lote TIMEOUT 300 SKIP_RETURN_CODE 77)
