# The run mode for a file, in this process: which of the system's Open With
# prompt, the hidden child, the prompt and the consent dialog it starts. The
# test executable stands in for rundll32 and for the child (fake_programs.h).
wendaro_add_test(NAME test_run_open_file NO_MAIN
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/dialogs/dialog_test_main.cpp
          ${CMAKE_CURRENT_LIST_DIR}/run_open_file_test.cpp
          $<TARGET_OBJECTS:wendaro_resources>
  LIBS app_core dialog_test_helpers
  LOCKS desktop registry TIMEOUT 120)
