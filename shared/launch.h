// Where Wendaro hands over to the rest of Windows: the hidden update child,
// the system's own Open With prompt, the default-program question and the
// store's category page.
#pragma once

#include <windows.h>

#include <string>

// Starts this program hidden as "<program>" /Update "<path>" in its own
// folder; TRUE when the process was created. Nobody waits for it. FALSE
// without a launch when the command line would not fit 779 characters.
BOOL LaunchUpdateProcess(std::wstring path);
// The system's Open With prompt for an existing file (rundll32 OpenAs_RunDLL);
// nothing for a folder or a missing file.
void RunOpenAsFallback(std::wstring path);
// TRUE when Windows has a default program for the extension of the path's
// file name. The calling thread must have initialised COM.
BOOL HasDefaultAssociation(std::wstring path);
// The store's page of programs for the category.
std::wstring GetStoreCategoryURL(std::wstring categoryId);
