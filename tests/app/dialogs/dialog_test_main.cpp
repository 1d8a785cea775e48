// The dialog tests' own entry point. The prompt starts "this program" as its
// update child, so the test executable also plays that child, and the
// browser and the system's Open With helper that the dialogs' choices start:
// each such run only records its command line (and the child may bring
// pictures and set the event) instead of running the tests again. Otherwise
// it starts what the program's own start-up starts before any dialog.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "framework/app.h"
#include "tests/app/dialogs/fake_programs.h"
#include "tests/support/gdiplus_session.h"

int wmain(int argc, wchar_t** argv) {
    int fake = 0;
    if (wendaro_test::RunAsFakeProgram(argc, argv, &fake)) return fake;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The consent dialog's notice is a rich edit control.
    AfxInitRichEdit2();
    CoInitialize(nullptr);
    wendaro_test::GdiPlusSession gdiplus;

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
