# cmake -DSOURCE_DIR=<checkout> -DBINARY_DIR=<fresh build folder> -P check_runtime_only_build.cmake
# Configures the release preset with everything but the program switched off and every test or
# benchmark package hidden, then builds the program.
file(REMOVE_RECURSE "${BINARY_DIR}")

set(hidden_packages GTest benchmark pugixml OpenSSL Qt6Test)
set(hide_options)
foreach(package IN LISTS hidden_packages)
  list(APPEND hide_options "-DCMAKE_DISABLE_FIND_PACKAGE_${package}=ON")
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} --preset release -B "${BINARY_DIR}" -DQUORVANE_BUILD_TESTS=OFF
          -DQUORVANE_BUILD_BENCH=OFF -DQUORVANE_BUILD_DEMO=OFF ${hide_options}
  WORKING_DIRECTORY "${SOURCE_DIR}"
  RESULT_VARIABLE configured
  OUTPUT_VARIABLE configure_output
  ERROR_VARIABLE configure_output)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "the program's build does not configure without the test packages:\n"
                      "${configure_output}")
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} --build "${BINARY_DIR}" --target quorvane
  RESULT_VARIABLE built
  OUTPUT_VARIABLE build_output
  ERROR_VARIABLE build_output)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "the program does not build without the test packages:\n${build_output}")
endif()
if(NOT EXISTS "${BINARY_DIR}/quorvane")
  message(FATAL_ERROR "the build left no ${BINARY_DIR}/quorvane")
endif()
