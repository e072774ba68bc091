# tools/run and tools/demo build only what they start: every program they
# start from the build folder is among the targets they name, and those
# targets build. tools/test builds everything.
# Run as: cmake -DSOURCE_DIR=<tree> -DBUILD_DIR=<build folder> -P build_targets.cmake
cmake_minimum_required(VERSION 3.25)

function(build_line script out)
  file(READ ${SOURCE_DIR}/tools/${script} text)
  if(NOT text MATCHES "\ntools/build([^\n]*)\n")
    message(FATAL_ERROR "tools/${script} does not run tools/build")
  endif()
  separate_arguments(targets UNIX_COMMAND "${CMAKE_MATCH_1}")
  set(${out} "${targets}" PARENT_SCOPE)
endfunction()

build_line(test everything)
if(everything)
  message(FATAL_ERROR "tools/test builds only ${everything}, not every test program")
endif()

foreach(script run demo)
  build_line(${script} targets)
  if(NOT targets)
    message(FATAL_ERROR "tools/${script} builds everything before it starts")
  endif()
  file(READ ${SOURCE_DIR}/tools/${script} text)
  string(REGEX MATCHALL "build/[a-z]+/[A-Za-z0-9_-]+[ ;\n]" started "${text}")
  foreach(program ${started})
    string(REGEX REPLACE "^build/[a-z]+/([A-Za-z0-9_-]+).$" "\\1" name "${program}")
    if(NOT name IN_LIST targets)
      message(FATAL_ERROR "tools/${script} starts ${name} but builds only ${targets}")
    endif()
  endforeach()
  # After the whole build this builds nothing; a target the build does not
  # know fails it (a dry run would not tell).
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${targets}
                  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE error)
  if(failed)
    message(FATAL_ERROR "tools/${script} cannot build ${targets}: ${output}${error}")
  endif()
endforeach()
