# The program that gets installed must hold nothing of the stand-in site or the demo: no
# library of theirs among its dependencies, none of their symbols, and not the certificate
# subject the site makes for itself.
#   -DPROGRAM=<quorvane>
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND readelf -d "${PROGRAM}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "readelf -d ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*" needed "${dynamic}")
foreach(entry IN LISTS needed)
  if(entry MATCHES "httplib|testsite|demo")
    message(FATAL_ERROR "${PROGRAM} depends on a stand-in library: ${entry}")
  endif()
endforeach()

execute_process(COMMAND nm -C "${PROGRAM}" OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm -C ${PROGRAM} failed")
endif()
# Without symbols the search below would pass whatever the program holds.
if(NOT symbols MATCHES "quorvane::MainWindow")
  message(FATAL_ERROR "${PROGRAM} lists no symbols of its own; cannot check it")
endif()
foreach(forbidden "StandInSite" "quorvane::testsite::" "quorvane::demo::" "httplib::")
  string(FIND "${symbols}" "${forbidden}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${PROGRAM} holds stand-in code: a symbol with ${forbidden}")
  endif()
endforeach()

file(STRINGS "${PROGRAM}" subjects REGEX "stand-in site")
if(subjects)
  message(FATAL_ERROR "${PROGRAM} holds the stand-in site's certificate text: ${subjects}")
endif()
