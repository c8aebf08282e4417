# The real batch program killed while it sends, then run again to the end.
add_test(NAME lote/Kill COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Kill_test.py
                                $<TARGET_FILE:sorvanta-lote>)
set_tests_properties(lote/Kill PROPERTIES LABELS lote TIMEOUT 300 SKIP_RETURN_CODE 77)
# The same on the private PostgreSQL server.
add_test(NAME lote/KillPostgres COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Kill_test.py
                                        $<TARGET_FILE:sorvanta-lote> --postgres ${SORVANTA_PG_INFO_FILE})
set_tests_properties(lote/KillPostgres PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77
                     FIXTURES_REQUIRED postgres)
# Its hostile rows go to the private PostgreSQL server too.
set_tests_properties(lote/Lote_test PROPERTIES FIXTURES_REQUIRED postgres)
