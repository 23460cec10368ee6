# The main window as a library, so that the program and the tests build the same window.
add_library(velmor_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/form_create.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_form.cpp
)
target_include_directories(velmor_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(velmor_app PUBLIC velmor_pages_device_setup velmor_i18n velmor_link velmor_settings velmor_forms
  velmor_platform_serial velmor_platform_clock velmor_platform_win)
