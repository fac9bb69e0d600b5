# Windows build (MSVC with vcpkg): the same functions as cmake/Winelib.cmake.

function(tomebox_win32_sources target)
  target_compile_definitions(${target} PUBLIC NOMINMAX WIN32_LEAN_AND_MEAN)
  # Sources and their narrow literals are UTF-8, as every text of the
  # program is.
  target_compile_options(${target} PUBLIC /utf-8)
endfunction()

function(tomebox_win32_program target kind)
  tomebox_win32_sources(${target})
  if(kind STREQUAL "gui")
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
  # The resource script embeds the program's manifest; the linker's own
  # would be a second one.
  target_link_options(${target} PRIVATE /MANIFEST:NO)
  target_link_libraries(${target} PRIVATE user32 comctl32 gdi32 kernel32)
endfunction()

function(tomebox_resources target rc_file)
  target_sources(${target} PRIVATE "${rc_file}")
endfunction()
