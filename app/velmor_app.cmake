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

if(NOT TARGET velmor-manager)
  add_executable(velmor-manager ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
  target_link_libraries(velmor-manager PRIVATE velmor_app velmor_forms_automation
    velmor_platform_display)
endif()
