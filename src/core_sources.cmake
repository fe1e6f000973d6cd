# The sources of tomarina_core, shared with the fuzzing build.
set(TOMARINA_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/app/app_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app/program_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/database.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/regular_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/save_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/steps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/user_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results/grid_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results/ordering.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/list_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/selection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data/text_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tools/search_limit.cpp
)
