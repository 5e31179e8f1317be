# Installs the build into a scratch prefix and checks what lands there: the program alone in
# bin/ (the demo is never installed), the menu entry, the icons and the AppStream metadata in
# the freedesktop places.
#   -DBUILD_DIR=<build tree> -DSTAGE=<scratch prefix>
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

file(GLOB programs RELATIVE "${STAGE}/bin" "${STAGE}/bin/*")
if(NOT programs STREQUAL "quorvane")
  message(FATAL_ERROR "bin/ should hold quorvane alone, not: ${programs}")
endif()
execute_process(COMMAND test -x "${STAGE}/bin/quorvane" RESULT_VARIABLE notExecutable)
if(notExecutable)
  message(FATAL_ERROR "bin/quorvane is not executable")
endif()

set(entry "${STAGE}/share/applications/org.quorvane.Quorvane.desktop")
set(icon "${STAGE}/share/icons/hicolor/scalable/apps/quorvane.svg")
set(metainfo "${STAGE}/share/metainfo/org.quorvane.Quorvane.metainfo.xml")
set(pngIcons "")
foreach(size 48 128 256)
  list(APPEND pngIcons "${STAGE}/share/icons/hicolor/${size}x${size}/apps/quorvane.png")
endforeach()
foreach(file "${entry}" "${icon}" "${metainfo}" ${pngIcons})
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ "${icon}" picture)
if(NOT picture MATCHES "<svg [^>]*viewBox=\"0 0 [0-9]+ [0-9]+\"" OR NOT picture MATCHES "</svg>[ \n]*$")
  message(FATAL_ERROR "${icon} is not one whole SVG picture with a viewBox")
endif()
