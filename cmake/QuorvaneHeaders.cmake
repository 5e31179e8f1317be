# Each library's headers are reachable only from the targets that link it. No target exports
# the whole source tree: a library exports a folder of its own in the build tree that holds a
# single link, <prefix> -> the library's source folder. So "net/fetch_url.h" reads the same
# everywhere but is found only by targets that link quorvane_net (directly or through a PUBLIC
# link), and an include nobody declared fails to compile.

# quorvane_export_headers(<target> <prefix> [<source folder>]), the folder defaulting to the
# current source folder.
function(quorvane_export_headers target prefix)
  set(folder ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARGC GREATER 2)
    set(folder ${ARGV2})
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${prefix} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${folder} ${root}/${prefix} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
