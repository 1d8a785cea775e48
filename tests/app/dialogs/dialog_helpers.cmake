# What every dialog test executable shares: the driver, the fixtures' stand-in
# programs (fake_programs.h) and the entry point that plays them.
set(dialog_helpers_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(dialog_test_helpers STATIC ${dialog_helpers_dir}/dialog_driver.cpp
                                       ${dialog_helpers_dir}/fake_programs.cpp
                                       ${dialog_helpers_dir}/giant_png.cpp)
target_link_libraries(dialog_test_helpers PUBLIC app_dialogs test_support gdiplus shlwapi comctl32 ole32)
target_compile_definitions(dialog_test_helpers PRIVATE
  WENDARO_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
