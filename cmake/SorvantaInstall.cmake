include(GNUInstallDirs)
# Installing and packaging take what is built and build nothing: the packaging test runs
# cpack beside the other tests, and scripts/package.sh builds first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Installs an executable in bin/ together with its manual page, packaging/man/<name>.1,
# which dpkg wants compressed, as part of `component` (the Debian package it goes into).
# One call per program.
function(sorvanta_install_program name component)
  set(page ${PROJECT_SOURCE_DIR}/packaging/man/${name}.1)
  if(NOT EXISTS ${page})
    message(FATAL_ERROR "${name} has no manual page: write packaging/man/${name}.1")
  endif()
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
  sorvanta_install_gzipped(${page} ${CMAKE_INSTALL_MANDIR}/man1 ${component})
endfunction()

# gzip -n: no name or time stamp in the header, so the same page gives the same package.
function(sorvanta_install_gzipped file destination component)
  get_filename_component(base ${file} NAME)
  set(zipped ${PROJECT_BINARY_DIR}/gzipped/${base}.gz)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/gzipped)
  execute_process(COMMAND gzip -9nc ${file} OUTPUT_FILE ${zipped} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${file} failed")
  endif()
  install(FILES ${zipped} DESTINATION ${destination} COMPONENT ${component})
endfunction()
