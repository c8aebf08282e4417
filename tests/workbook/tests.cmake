# Without ../shared/corpus beside the checkout the corpus walk is reported as skipped.
set_tests_properties(workbook/WorkbookCorpus_test PROPERTIES SKIP_REGULAR_EXPRESSION "no corpus: ")
