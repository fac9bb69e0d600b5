# Winelib specifics: the Win32 targets are compiled and linked by wineg++
# (through a launcher, so that CMake itself still sees a plain g++ project),
# and resources are compiled by wrc.  A Windows build replaces this file by
# cmake/Windows.cmake, which provides the same three functions.

find_program(TOMEBOX_WINEGXX wineg++ REQUIRED)
find_program(TOMEBOX_WRC wrc REQUIRED)
set(TOMEBOX_WIN32_LIBS -luser32 -lcomctl32 -lgdi32 -lkernel32)
set(_tomebox_launcher "${CMAKE_CURRENT_LIST_DIR}/wineg++-launcher")

# Compile a target's sources as Win32 code.  Sources and their narrow
# literals are UTF-8, as every text of the program is.
function(tomebox_win32_sources target)
  set_target_properties(${target} PROPERTIES
    CXX_COMPILER_LAUNCHER "${_tomebox_launcher}"
    CXX_LINKER_LAUNCHER "${_tomebox_launcher}")
  target_compile_definitions(${target} PUBLIC NOMINMAX WIN32_LEAN_AND_MEAN)
  # winegcc makes import thunks only for calls it sees in object files, not
  # in archives: Win32 code is kept in OBJECT libraries.
endfunction()

# Link a Win32 program: GUI for the application, console for test programs.
function(tomebox_win32_program target kind)
  tomebox_win32_sources(${target})
  if(kind STREQUAL "gui")
    target_link_options(${target} PRIVATE -mwindows)
  else()
    target_link_options(${target} PRIVATE -mconsole)
  endif()
  target_link_libraries(${target} PRIVATE ${TOMEBOX_WIN32_LIBS})
  # wineg++ writes NAME.exe (a launcher script) and NAME.exe.so.
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${target}.exe")
endfunction()

# Compile the resource script once, with wrc, and link the result into each
# program.
include(${CMAKE_CURRENT_LIST_DIR}/CompiledResources.cmake)
function(tomebox_resources target rc_file)
  tomebox_compiled_resources(${target} "${rc_file}" "${CMAKE_BINARY_DIR}/resources/Tomebox.res" "${TOMEBOX_WRC}")
endfunction()
