# The real batch program killed while it sends, then run again to the end.
add_test(NAME lote/Kill COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Kill_test.py
                                $<TARGET_FILE:sorvanta-lote>)
set_tests_properties(lote/Kill PROPERTIES LABELS lote TIMEOUT 300 SKIP_RETURN_CODE 77)
# The same on the private PostgreSQL server.
add_test(NAME lote/KillPostgres COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Kill_test.py
                                        $<TARGET_FILE:sorvanta-lote> --postgres ${SORVANTA_PG_INFO_FILE})
set_tests_properties(lote/KillPostgres PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77
                     FIXTURES_REQUIRED postgres)
# Two runs of the real batch program at once on one catalog, embedded and on the server.
add_test(NAME lote/Concurrent COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Concurrent_test.py
                                      $<TARGET_FILE:sorvanta-lote>)
set_tests_properties(lote/Concurrent PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77)
add_test(NAME lote/ConcurrentPostgres COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Concurrent_test.py
                                              $<TARGET_FILE:sorvanta-lote> --postgres ${SORVANTA_PG_INFO_FILE})
set_tests_properties(lote/ConcurrentPostgres PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77
                     FIXTURES_REQUIRED postgres)
# Both make their catalogs from the same pristine database on the one server.
set_tests_properties(lote/KillPostgres lote/ConcurrentPostgres PROPERTIES RESOURCE_LOCK kill_pristine)
# A disk that fills, a silent server, a server stopped during the send.
add_test(NAME lote/Faults COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Faults_test.py
                                  $<TARGET_FILE:sorvanta-lote>)
set_tests_properties(lote/Faults PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77)
add_test(NAME lote/FaultsPostgres COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/Faults_test.py
                                          $<TARGET_FILE:sorvanta-lote> --postgres ${SORVANTA_PG_INFO_FILE})
set_tests_properties(lote/FaultsPostgres PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77
                     FIXTURES_REQUIRED postgres)
# Its hostile rows go to the private PostgreSQL server too.
set_tests_properties(lote/Lote_test PROPERTIES FIXTURES_REQUIRED postgres)
# The real batch program killed while it sends and while it undoes a send, then undone again.
add_test(NAME lote/KillUndo COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/KillUndo_test.py
                                    $<TARGET_FILE:sorvanta-lote>)
set_tests_properties(lote/KillUndo PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77)
add_test(NAME lote/KillUndoPostgres COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/lote/KillUndo_test.py
                                            $<TARGET_FILE:sorvanta-lote> --postgres ${SORVANTA_PG_INFO_FILE})
# Its homes, and so its databases on the one server, have the names of theirs (kill_pristine...).
set_tests_properties(lote/KillUndoPostgres PROPERTIES LABELS lote TIMEOUT 600 SKIP_RETURN_CODE 77
                     FIXTURES_REQUIRED postgres RESOURCE_LOCK kill_pristine)
# The batch program needs no graphical library and no display.
add_test(NAME lote/SinGraficos COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/lote/SinGraficos_test.sh
                                       $<TARGET_FILE:sorvanta-lote>)
set_tests_properties(lote/SinGraficos PROPERTIES LABELS lote TIMEOUT 120)
