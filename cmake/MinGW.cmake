# Windows executables (PE) cross-built on Debian with MinGW-w64: a toolchain
# file (cmake --preset mingw, or -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW.cmake)
# that also provides the functions of cmake/Winelib.cmake and
# cmake/Windows.cmake once the project includes it.  The dependencies
# (SQLite, cpprestsdk, GoogleTest) are built with this same file by
# scripts/mingw-deps and found under CMAKE_PREFIX_PATH.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOMEBOX_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix thread model: with the win32 one, std::thread and std::mutex
# do not exist.
set(CMAKE_C_COMPILER ${TOMEBOX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOMEBOX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TOMEBOX_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOMEBOX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The prefix of the dependencies lies outside the root path.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
# Statically linked, so that a program imports system DLLs only: without
# this it stops at start for want of the MinGW runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Compile a target's sources as Win32 code.  Sources and their narrow
# literals are UTF-8, as every text of the program is.
function(tomebox_win32_sources target)
  target_compile_definitions(${target} PUBLIC NOMINMAX WIN32_LEAN_AND_MEAN)
endfunction()

# Link a Win32 program: GUI for the application, console for test programs.
function(tomebox_win32_program target kind)
  tomebox_win32_sources(${target})
  if(kind STREQUAL "gui")
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
  target_link_libraries(${target} PRIVATE user32 comctl32 gdi32 kernel32)
endfunction()

# Compile the resource script once, with windres, and link the object into
# each program.
include(${CMAKE_CURRENT_LIST_DIR}/CompiledResources.cmake)
function(tomebox_resources target rc_file)
  tomebox_compiled_resources(${target} "${rc_file}" "${CMAKE_BINARY_DIR}/resources/Tomebox.res.o"
                             "${CMAKE_RC_COMPILER}" -O coff)
endfunction()
