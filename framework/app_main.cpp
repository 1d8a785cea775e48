// The program's entry point. It is kept in a file of its own so that test
// programs, which bring their own wmain, never pull it in.
#include "framework/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
    return AfxWinMain(instance, previous, commandLine, show);
}
