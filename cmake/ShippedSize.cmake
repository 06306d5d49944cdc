# Size of what ships: the program, the engine and the project's libraries
# they link are compiled for size and linked with unused sections dropped.
# None of that code is hot except the engine's freeing loop, which keeps
# the speed options of the build type.

# Every library of this project that a target links, directly or not.
function(kolvar_project_link_closure target out)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(NOT TARGET ${current} OR current IN_LIST seen)
      continue()
    endif()
    get_target_property(imported ${current} IMPORTED)
    get_target_property(type ${current} TYPE)
    if(imported OR type STREQUAL "INTERFACE_LIBRARY")
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(links ${current} LINK_LIBRARIES)
    if(links)
      list(APPEND pending ${links})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(kolvar_size_for_download)
  set(closure "")
  foreach(shipped ${ARGN})
    kolvar_project_link_closure(${shipped} more)
    list(APPEND closure ${more})
  endforeach()
  list(REMOVE_DUPLICATES closure)
  foreach(target ${closure})
    get_target_property(type ${target} TYPE)
    # Sections per function and datum, so the linker can leave out what
    # nothing calls.
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections -fdata-sections>)
    if(NOT target MATCHES "^drevcore")
      target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Os>)
    endif()
    if(type STREQUAL "EXECUTABLE" OR type STREQUAL "SHARED_LIBRARY")
      target_link_options(${target} PRIVATE -Wl,--gc-sections)
    endif()
  endforeach()
endfunction()
