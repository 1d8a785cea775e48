#include "tests/app/dialogs/fake_programs.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>

#include "shared/handle.h"
#include "tests/app/dialogs/dialog_driver.h"
#include "tests/support/program.h"

namespace wendaro_test {

void AppendLine(const std::wstring& path, const std::wstring& line) {
    if (path.empty()) return;
    std::wstring text = line + L"\n";
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return;
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(size - 1);
    AppendFileBytes(path, bytes);
}

std::wstring ReadText(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    if (bytes.empty()) return L"";
    const int size = static_cast<int>(bytes.size());
    std::wstring text(bytes.size(), L'\0');
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, &text[0], size);
    text.resize(length > 0 ? length : 0);
    return text;
}

FakeBrowser::FakeBrowser(const std::wstring& folder)
    : m_log(folder + L"\\browser.log"), m_logTo(L"WENDARO_FAKE_BROWSER_LOG", m_log.c_str()) {
    wendaro_test::SetString(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", L"",
                           L"\"" + SelfPath() + L"\" /FakeBrowser \"%1\"");
}

std::wstring FakeBrowser::Log() const { return ReadText(m_log); }

std::wstring FakeBrowser::WaitForLines(size_t lines) const {
    std::wstring text;
    WaitUntil(
        [&] {
            text = Log();
            return static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) >= lines;
        },
        10000);
    return text;
}

namespace {

// Marks a copy of this executable as a window program. The shell starts a
// console program with a console of its own, and so with a console host
// process beside it that a test counting processes would count too.
bool MakeWindowProgram(const std::wstring& path) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (!file) return false;
    IMAGE_DOS_HEADER dos = {};
    IMAGE_NT_HEADERS64 nt = {};
    DWORD done = 0;
    const bool read = ReadFile(file.get(), &dos, sizeof dos, &done, nullptr) && done == sizeof dos &&
                      SetFilePointer(file.get(), dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                      ReadFile(file.get(), &nt, sizeof nt, &done, nullptr) && done == sizeof nt &&
                      nt.Signature == IMAGE_NT_SIGNATURE;
    if (!read) return false;
    nt.OptionalHeader.Subsystem = IMAGE_SUBSYSTEM_WINDOWS_GUI;
    return SetFilePointer(file.get(), dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           WriteFile(file.get(), &nt, sizeof nt, &done, nullptr) && done == sizeof nt;
}

}  // namespace

FakeOpenWith::FakeOpenWith(const std::wstring& folder)
    : m_root(folder + L"\\sysroot"), m_log(folder + L"\\rundll.log"),
      m_logTo(L"WENDARO_FAKE_RUNDLL_LOG", m_log.c_str()) {
    CreateDirectoryW(m_root.c_str(), nullptr);
    CreateDirectoryW((m_root + L"\\system32").c_str(), nullptr);
    const std::wstring program = m_root + L"\\system32\\rundll32.exe";
    m_ready = CopyFileW(SelfPath().c_str(), program.c_str(), FALSE) != 0 && MakeWindowProgram(program);
}

std::wstring FakeOpenWith::Log() const { return ReadText(m_log); }

namespace {

void CopyPictures(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW entry = {};
    FindHandle find(FindFirstFileW((from + L"\\*").c_str(), &entry));
    if (!find) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        CopyFileW((from + L"\\" + entry.cFileName).c_str(), (to + L"\\" + entry.cFileName).c_str(),
                  FALSE);
    } while (FindNextFileW(find.get(), &entry));
}

int FakeUpdateChild() {
    AppendLine(Environment(L"WENDARO_FAKE_CHILD_LOG"), GetCommandLineW());
    std::wstring pictures = Environment(L"WENDARO_FAKE_CHILD_PICTURES");
    if (pictures.empty()) return 0;
    CopyPictures(pictures, Environment(L"WENDARO_FAKE_CHILD_TARGET"));
    KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, Environment(L"WENDARO_FAKE_CHILD_EVENT").c_str()));
    if (event) {
        SetEvent(event.get());
        // Should the watcher open the event only now, it must still exist then.
        Sleep(1000);
    }
    return 0;
}

}  // namespace

bool RunAsFakeProgram(int argc, wchar_t** argv, int* exitCode) {
    *exitCode = 0;
    if (_wcsicmp(PathFindFileNameW(argv[0]), L"rundll32.exe") == 0) {
        AppendLine(Environment(L"WENDARO_FAKE_RUNDLL_LOG"), GetCommandLineW());
        return true;
    }
    if (argc >= 2 && _wcsicmp(argv[1], L"/Update") == 0) {
        *exitCode = FakeUpdateChild();
        return true;
    }
    if (argc >= 3 && _wcsicmp(argv[1], L"/FakeBrowser") == 0) {
        AppendLine(Environment(L"WENDARO_FAKE_BROWSER_LOG"), argv[2]);
        return true;
    }
    return false;
}

}  // namespace wendaro_test
