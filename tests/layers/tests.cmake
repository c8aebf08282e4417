# The link lists decide what each folder may include: each probe is compiled with the usage
# requirements of one folder's library, and must fail to build when it reaches above it.
function(sorvanta_layer_probe probe library must_build)
  add_library(layerprobe_${probe} OBJECT EXCLUDE_FROM_ALL ${CMAKE_CURRENT_SOURCE_DIR}/layers/${probe}.cpp)
  target_link_libraries(layerprobe_${probe} PRIVATE ${library})
  set_target_properties(layerprobe_${probe} PROPERTIES AUTOMOC OFF)
  add_test(NAME layers/${probe}
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target layerprobe_${probe})
  set_tests_properties(layers/${probe} PROPERTIES LABELS layers TIMEOUT 300 RESOURCE_LOCK build)
  if(NOT must_build)
    # Refused for the include itself, not for anything else that could break a build.
    set_tests_properties(layers/${probe} PROPERTIES PASS_REGULAR_EXPRESSION "fatal error: [^ ]+: No such file or directory")
  endif()
endfunction()

sorvanta_layer_probe(reader_qt_widget sv_workbook FALSE)
sorvanta_layer_probe(reader_msgbox sv_workbook FALSE)
sorvanta_layer_probe(database_qt_widget sv_database FALSE)
sorvanta_layer_probe(database_msgbox sv_database FALSE)
sorvanta_layer_probe(core_database sv_core FALSE)
# The batch program and the libraries it links start where there is no graphical library.
sorvanta_layer_probe(modelos_qt_gui sv_modelos FALSE)
sorvanta_layer_probe(catalog_qt_widget sv_catalog FALSE)
sorvanta_layer_probe(catalog_msgbox sv_catalog FALSE)
sorvanta_layer_probe(review_qt_gui sv_review FALSE)
sorvanta_layer_probe(review_msgbox sv_review FALSE)
sorvanta_layer_probe(review_dialog sv_review FALSE)
sorvanta_layer_probe(lote_qt_widget sv_lote FALSE)
sorvanta_layer_probe(lote_qt_gui sv_lote FALSE)
sorvanta_layer_probe(lote_msgbox sv_lote FALSE)
sorvanta_layer_probe(lote_allowed sv_lote TRUE)
# Built with both libraries' requirements, so the refusals above are not a broken set-up.
sorvanta_layer_probe(allowed "sv_workbook;sv_database" TRUE)
