# cmake -DBUILD_DIR=<build folder> -DSOURCE_DIR=<checkout> -DCASES=<name|header|expectation,…>
#       -P check_include_layering.cmake
# Builds each probe target and checks that it compiles when its header is "reachable" and fails
# on that very header when it is "unreachable". Then checks that no source climbs out of its
# folder with "../", the one way around the per-library include folders.
string(REPLACE "," ";" cases "${CASES}")
set(failures)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 header)
  list(GET fields 2 expectation)
  execute_process(
    COMMAND ${CMAKE_COMMAND} --build "${BUILD_DIR}" --target ${name}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(expectation STREQUAL "reachable")
    if(NOT result EQUAL 0)
      list(APPEND failures "${name}: \"${header}\" should compile but does not:\n${output}")
    endif()
  else()
    string(FIND "${output}" "${header}: No such file" gcc_missing)
    string(FIND "${output}" "'${header}' file not found" clang_missing)
    if(result EQUAL 0)
      list(APPEND failures "${name}: \"${header}\" compiles though it is not linked")
    elseif(gcc_missing EQUAL -1 AND clang_missing EQUAL -1)
      list(APPEND failures "${name}: fails, but not on \"${header}\":\n${output}")
    endif()
  endif()
endforeach()

foreach(folder src testsite demo tests bench fuzz)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" climbing REGEX "^[ \t]*#[ \t]*include[ \t]*\"\\.\\./")
    if(climbing)
      list(APPEND failures "${source}: ${climbing}")
    endif()
  endforeach()
endforeach()

if(failures)
  string(REPLACE ";" "\n" report "${failures}")
  message(FATAL_ERROR "${report}")
endif()
