# The sources of tomarina_core, shared with the fuzzing build.
set(TOMARINA_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/shared/app_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/settings_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/directory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/hotel_search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/program_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/program_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program/end_signals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/user_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/desktop_opener.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser/browser_lookup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser/browser_start.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/database.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/regular_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/save_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/steps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/user_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/maintenance/user_maintenance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/disk_listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/help_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/web_address.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/nested_loop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/on_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/program_start.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/xdg_handler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/grid_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results/links.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/ordering.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/result_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/list_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/selection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared/shared_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/text_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tools/search_limit.cpp
)
# The version has one source: the project's version in the top CMakeLists.txt.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/program/command_line.cpp PROPERTIES
  COMPILE_DEFINITIONS TOMARINA_VERSION="${PROJECT_VERSION}")
