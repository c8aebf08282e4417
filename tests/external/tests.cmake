# The data-access helpers of tests/support reach the component and PostgreSQL.
target_link_libraries(sv_testsupport PUBLIC sv_external Qt6::Sql)
set(SORVANTA_PG_INFO_FILE ${CMAKE_BINARY_DIR}/pg-test/servidor.ini)
target_compile_definitions(sv_testsupport PRIVATE
  SORVANTA_PG_INFO_FILE="${SORVANTA_PG_INFO_FILE}"
  SORVANTA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# A private PostgreSQL for every test that declares FIXTURES_REQUIRED postgres.
add_test(NAME postgres-start
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/pg-test-server.sh start ${SORVANTA_PG_INFO_FILE})
set_tests_properties(postgres-start PROPERTIES FIXTURES_SETUP postgres TIMEOUT 120)
add_test(NAME postgres-stop
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/pg-test-server.sh stop ${SORVANTA_PG_INFO_FILE})
set_tests_properties(postgres-stop PROPERTIES FIXTURES_CLEANUP postgres TIMEOUT 120)

set_tests_properties(external/DAMMainBackends_test PROPERTIES FIXTURES_REQUIRED postgres)

# Without ../shared/corpus beside the checkout the corpus walk is reported as skipped.
set_tests_properties(external/WorkbookCorpus_test PROPERTIES SKIP_REGULAR_EXPRESSION "no corpus: ")
