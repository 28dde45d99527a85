# folivo_layer_includes(<target> <scope> <path>...): the target (and, with PUBLIC or INTERFACE, its
# users) includes "<path>/..." or "<path>" and nothing else of the source tree. Each path is linked
# into an include folder of the target's own under the build tree, so an include that crosses a
# layer does not compile.
function(folivo_layer_includes target scope)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  foreach(path ${ARGN})
    # A link that an earlier build made for a folder above this path goes: the path's own link
    # takes its place.
    get_filename_component(above ${path} DIRECTORY)
    while(above)
      if(IS_SYMLINK ${root}/${above})
        file(REMOVE ${root}/${above})
      endif()
      get_filename_component(above ${above} DIRECTORY)
    endwhile()
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()
