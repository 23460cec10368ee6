# The main window as a library, so that the program and the tests build the same window, and
# the program velmor-manager.
add_library(velmor_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/form_create.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_options.cpp
)
target_include_directories(velmor_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(velmor_app PUBLIC velmor_pages_timed_tasks velmor_pages_device_setup velmor_skin_engine velmor_pages_realtime velmor_i18n velmor_link velmor_settings velmor_forms
  velmor_platform_files velmor_platform_serial velmor_platform_clock velmor_platform_win)

# How the program is linked, for velmor-manager and the measuring programs built like it
# (bench/startup): the C++ runtime goes into the program, so that the dynamic loader has neither
# libstdc++'s thousands of symbols to bind nor its own initialisation to run at every start
# (about 2 million instructions of a 20-million-instruction start-up); libraries the program
# does not call are not loaded; the X client libraries are linked in as well
# (platform/display/CMakeLists.txt). The sanitizer and fuzzing builds keep the shared runtime
# their tools expect.
# The program's own relocations (a PIE: one per pointer in its tables of virtual functions)
# packed as the C library's loader reads them fastest (DT_RELR, binutils 2.38 and glibc 2.36):
# 150 KB of relocation entries become 1 KB.
include(CheckLinkerFlag)
check_linker_flag(CXX "-Wl,-z,pack-relative-relocs" VELMOR_PACK_RELATIVE_RELOCS)
function(velmor_link_console_program target)
  target_link_libraries(${target} PRIVATE velmor_app velmor_forms_automation
    velmor_platform_display)
  if(NOT VELMOR_SANITIZE AND NOT VELMOR_LIBFUZZER AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,-O1
      -Wl,--as-needed)
    set_target_properties(${target} PROPERTIES VELMOR_STATIC_X11 ON)
    if(VELMOR_PACK_RELATIVE_RELOCS)
      target_link_options(${target} PRIVATE -Wl,-z,pack-relative-relocs)
    endif()
  endif()
endfunction()

if(NOT TARGET velmor-manager)
  add_executable(velmor-manager ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
  velmor_link_console_program(velmor-manager)
endif()
