# Run by CTest: install, configure and build the consumer, run both of its programs.
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGV}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(header SiteConfig.h SiteConfigTables.h CPropertiesConfig.h)
  if(NOT EXISTS ${prefix}/include/siteconfig/${header})
    message(FATAL_ERROR "header ${header} was not installed")
  endif()
endforeach()
# Installed headers hold the contract only: nothing that opens private state to tests, and no
# header of the library's internals.
file(GLOB_RECURSE installed_headers ${prefix}/include/*)
foreach(header IN LISTS installed_headers)
  file(READ ${header} text)
  if(text MATCHES "TestPeer")
    message(FATAL_ERROR "${header} declares a test friend")
  endif()
  if(NOT header MATCHES "/include/siteconfig/[^/]+\\.h$")
    message(FATAL_ERROR "unexpected installed file ${header}")
  endif()
endforeach()
# The installed command works from the installed prefix alone: on the installed example, with
# the installed sample plug-in found in its installed application folder.
if(WITH_TOOL)
  foreach(file bin/siteconfig share/bash-completion/completions/siteconfig
      share/siteconfig/examples/site-layout/Plugins.ini)
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "${file} was not installed")
    endif()
  endforeach()
  run(${prefix}/bin/siteconfig check ${prefix}/share/siteconfig/examples/site-layout)
endif()

# The schemas, when the command is installed: those the installed command writes.
if(SCHEMA_DIR)
  file(GLOB installed_schemas RELATIVE ${prefix}/${SCHEMA_DIR} ${prefix}/${SCHEMA_DIR}/*.xsd)
  if(NOT installed_schemas)
    message(FATAL_ERROR "no schema was installed in ${SCHEMA_DIR}")
  endif()
  run(${prefix}/${BIN_DIR}/siteconfig schema --output-dir ${WORK_DIR}/schemas)
  file(GLOB written_schemas RELATIVE ${WORK_DIR}/schemas ${WORK_DIR}/schemas/*.xsd)
  if(NOT installed_schemas STREQUAL written_schemas)
    message(FATAL_ERROR "installed schemas ${installed_schemas}, written ${written_schemas}")
  endif()
  foreach(schema IN LISTS installed_schemas)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
      ${prefix}/${SCHEMA_DIR}/${schema} ${WORK_DIR}/schemas/${schema} RESULT_VARIABLE differ)
    if(differ)
      message(FATAL_ERROR "installed ${schema} is not what the command writes")
    endif()
  endforeach()
endif()

file(GLOB_RECURSE pc_files ${prefix}/*/siteconfig.pc)
if(NOT pc_files)
  message(FATAL_ERROR "siteconfig.pc was not installed")
endif()
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir ${pc_file} DIRECTORY)

set(ENV{PKG_CONFIG_PATH} ${pc_dir})
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR}
  -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
  -DCMAKE_CXX_FLAGS=${CXX_FLAGS}
  -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer_cmake ${EXAMPLE_DIR}/)
run(${WORK_DIR}/build/consumer_pkgconfig ${EXAMPLE_DIR}/)
