# vantorix_link_whole(program LIBRARIES library... WITH link...)
# A program that links every object of the libraries, not only those a caller reaches, and
# beside them only what WITH names: a symbol that some object needs from anywhere else fails
# the link.
function(vantorix_link_whole program)
  cmake_parse_arguments(W "" "" "LIBRARIES;WITH" ${ARGN})
  add_executable(${program} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/LinkWholeMain.cpp)
  set_target_properties(${program} PROPERTIES AUTOMOC OFF)
  set(archives "")
  foreach(library ${W_LIBRARIES})
    list(APPEND archives $<TARGET_FILE:${library}>)
  endforeach()
  # The archives by file, not as targets: a target would bring what it links along with it.
  target_link_libraries(${program} PRIVATE
      -Wl,--whole-archive ${archives} -Wl,--no-whole-archive ${W_WITH})
  add_dependencies(${program} ${W_LIBRARIES})
endfunction()
