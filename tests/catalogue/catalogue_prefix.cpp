// Points the Wine prefix it runs in at the local catalogue service, or back.
//
//   catalogue_prefix on <state folder>   trust the service's test CA (the
//                                        machine's Root store) and use
//                                        127.0.0.1:<port> as the proxy
//   catalogue_prefix off                 no proxy any more
//
// The state folder is the service's (see scripts/catalogue_service), given as
// a Unix path or a Windows path. "<local>" stays outside the proxy, so a test
// can still reach a dotless name such as localhost directly.
//
// It changes the machine's trust store, so it refuses to run anywhere but
// under Wine.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/wine_path.h"

namespace {

const wchar_t InternetSettingsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Wine's ntdll exports wine_get_version; Windows' does not.
bool RunsUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool TrustCertificate(const std::string& pem) {
    DWORD size = 0;
    if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                              nullptr, &size, nullptr, nullptr)) {
        return false;
    }
    std::vector<BYTE> der(size);
    if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                              der.data(), &size, nullptr, nullptr)) {
        return false;
    }
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                     CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) return false;
    BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                                  CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    return added != FALSE;
}

bool SetProxy(const std::wstring* server) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, InternetSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    DWORD enable = server ? 1 : 0;
    LONG result = RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&enable), sizeof enable);
    auto setString = [key](const wchar_t* name, const std::wstring& value) {
        return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    if (server) {
        if (result == ERROR_SUCCESS) result = setString(L"ProxyServer", *server);
        if (result == ERROR_SUCCESS) result = setString(L"ProxyOverride", L"<local>");
    } else {
        RegDeleteValueW(key, L"ProxyServer");
        RegDeleteValueW(key, L"ProxyOverride");
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int TurnOn(const std::wstring& stateFolder) {
    const std::string port = wendaro_test::ReadFileBytes(stateFolder + L"\\port");
    const std::string certificate = wendaro_test::ReadFileBytes(stateFolder + L"\\ca.pem");
    if (port.empty() || certificate.empty()) {
        fwprintf(stderr, L"catalogue_prefix: the service in %ls is not running\n", stateFolder.c_str());
        return 1;
    }
    if (!TrustCertificate(certificate)) {
        fwprintf(stderr, L"catalogue_prefix: the test CA was not imported (%lu)\n", GetLastError());
        return 1;
    }
    std::wstring server = L"127.0.0.1:";
    for (char c : port) {
        if (c >= '0' && c <= '9') server += static_cast<wchar_t>(c);
    }
    return SetProxy(&server) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!RunsUnderWine()) {
        fwprintf(stderr, L"catalogue_prefix: runs only under Wine; here it would change this "
                         L"machine's trusted root certificates and proxy\n");
        return 3;
    }
    std::wstring action = argc > 1 ? argv[1] : L"";
    if (action == L"on" && argc == 3) return TurnOn(wendaro_test::WindowsPathOf(argv[2]));
    if (action == L"off" && argc == 2) return SetProxy(nullptr) ? 0 : 1;
    fwprintf(stderr, L"usage: catalogue_prefix on <state folder> | off\n");
    return 2;
}
