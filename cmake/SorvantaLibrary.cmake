# One static library per source folder, holding every .cpp of that folder.
# A folder sees only its own headers and those of the folders it links: each library publishes
# an include root holding just its own headers, so including a header of a folder it does not
# link (or a Qt module it does not link) fails to compile.
#
# A workflow folder may keep its windows (dialogs, message boxes, window adapters) apart:
# the files named after VENTANAS make a second library, <name>_ventanas, linking the first and
# VENTANAS_DEPS. The first then links no Qt Widgets or Gui and does not see those headers,
# so sorvanta-lote, which links only the first, starts where there is no display.
function(sorvanta_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE;VENTANAS;VENTANAS_DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${ex}$")
  endforeach()
  set(window_sources)
  foreach(v IN LISTS ARG_VENTANAS)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${v})
      message(FATAL_ERROR "${name}: window file ${v} does not exist")
    endif()
    list(APPEND window_sources ${CMAKE_CURRENT_SOURCE_DIR}/${v})
    list(FILTER sources EXCLUDE REGEX "/${v}$")
  endforeach()
  file(GLOB_RECURSE resources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)

  add_library(${name} STATIC ${sources} ${resources})
  sorvanta_include_root(${name} ${PROJECT_BINARY_DIR}/layers/${folder} "${sources}")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES AUTORCC ON LINKER_LANGUAGE CXX)

  if(window_sources)
    add_library(${name}_ventanas STATIC ${window_sources})
    sorvanta_include_root(${name}_ventanas ${PROJECT_BINARY_DIR}/layers/${folder}_ventanas "${window_sources}")
    target_link_libraries(${name}_ventanas PUBLIC ${name} ${ARG_VENTANAS_DEPS})
    set_target_properties(${name}_ventanas PROPERTIES LINKER_LANGUAGE CXX)
  endif()
endfunction()

# <root>/<folder>/ holds a link to each header of `files`, and nothing else, made afresh at
# every configure so a header that moved to the other library is gone from this one.
function(sorvanta_include_root target root files)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  # Older trees linked the whole folder here: remove the link, never what it points to.
  if(IS_SYMLINK ${root}/${folder})
    file(REMOVE ${root}/${folder})
  endif()
  file(REMOVE_RECURSE ${root})
  foreach(f IN LISTS files)
    if(f MATCHES "\\.h$")
      file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${f})
      get_filename_component(dir ${root}/${folder}/${rel} DIRECTORY)
      file(MAKE_DIRECTORY ${dir})
      file(CREATE_LINK ${f} ${root}/${folder}/${rel} SYMBOLIC)
    endif()
  endforeach()
  file(MAKE_DIRECTORY ${root}/${folder})
  target_include_directories(${target} PUBLIC ${root})
endfunction()
