# The children are this console test program: without a console of its own
# (under CTest) each gets a console window, which takes the foreground.
wendaro_add_test(NAME test_launch SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_test.cpp
                 LIBS shared LOCKS registry desktop NO_MAIN)
