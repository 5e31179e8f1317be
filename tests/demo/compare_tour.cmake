# Plays the demo's scripted tour and compares what it prints with the expected text.
# The stand-in site listens on free ports, so "127.0.0.1:<digits>" is read as
# "127.0.0.1:<port>" before comparing; everything else must match byte for byte.
#   -DDEMO=<quorvane-demo> -DEXPECTED=<file> -DACTUAL=<file to write> -DSCREENSHOTS=<dir>
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${SCREENSHOTS}")
execute_process(
  COMMAND "${DEMO}" --tour "${SCREENSHOTS}"
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE result
  TIMEOUT 240)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the tour ended with ${result}:\n${errors}")
endif()

string(REGEX REPLACE "127\\.0\\.0\\.1:[0-9]+" "127.0.0.1:<port>" actual "${actual}")
file(WRITE "${ACTUAL}" "${actual}")
file(READ "${EXPECTED}" expected)
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u "${EXPECTED}" "${ACTUAL}" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "the tour printed something else than ${EXPECTED}:\n${difference}")
endif()

# One picture per step, each a PNG.
string(REGEX MATCHALL "\n== [0-9]+/" headings "\n${actual}")
list(LENGTH headings steps)
file(GLOB pictures "${SCREENSHOTS}/*.png")
list(LENGTH pictures pictureCount)
if(NOT pictureCount EQUAL steps)
  message(FATAL_ERROR "${steps} steps but ${pictureCount} screenshots in ${SCREENSHOTS}")
endif()
foreach(picture IN LISTS pictures)
  file(READ "${picture}" signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${picture} is no PNG")
  endif()
endforeach()
