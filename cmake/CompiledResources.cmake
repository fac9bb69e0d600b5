# The resource script compiled once, by the variant's resource compiler, and
# linked into every program that asks for it.  One custom target, so that a
# parallel make never runs the compiler twice at once.
#   tomebox_compiled_resources(TARGET RC_FILE OUTPUT COMPILER [ARGS...])
# The compiler is called with ARGS, the include paths, "-o OUTPUT" and the
# script.
function(tomebox_compiled_resources target rc_file res)
  if(NOT TARGET tomebox_res)
    get_filename_component(rc_dir "${rc_file}" DIRECTORY)
    file(GLOB rc_inputs "${rc_dir}/*")
    add_custom_command(OUTPUT "${res}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/resources"
      COMMAND ${ARGN} -I "${rc_dir}" -I "${CMAKE_SOURCE_DIR}" -o "${res}" "${rc_file}"
      DEPENDS ${rc_inputs}
      COMMENT "Compiling resources")
    add_custom_target(tomebox_res DEPENDS "${res}")
  endif()
  add_dependencies(${target} tomebox_res)
  target_link_libraries(${target} PRIVATE "${res}")
endfunction()
