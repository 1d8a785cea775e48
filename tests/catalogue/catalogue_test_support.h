// Helpers for the catalogue reader tests: COM on the test thread, the sample
// files in tests/data/catalogue, and a sink that records what it is told.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "catalogue/xml.h"
#include "tests/support/wine_path.h"

namespace wendaro_test {

// COM for the current thread, as the program's main and worker threads have it.
class ComScope {
public:
    ComScope() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_hr;
};

// A sample file by name, as a Windows path (the sources are on drive Z:).
inline std::wstring DataPath(const std::wstring& name) {
    return WindowsPathOf(std::string(WENDARO_TEST_DATA)) + L"\\" + name;
}

struct Product {
    std::wstring productID, reserved, name, imageUrl, companyID;
    float price;
};

class RecordingSink : public VELQCOMMON::IVELQXMLSink {
public:
    void Reserved() override { ++reservedCalls; }
    void OnMatch(const std::wstring& matched, const std::wstring& other) override {
        matches.push_back({matched, other});
    }
    void OnProduct(const std::wstring& productID, const std::wstring& reserved,
                   const std::wstring& name, const std::wstring& imageUrl,
                   const std::wstring& companyID, float price) override {
        products.push_back({productID, reserved, name, imageUrl, companyID, price});
    }

    int reservedCalls = 0;
    std::vector<std::pair<std::wstring, std::wstring>> matches;
    std::vector<Product> products;
};

}  // namespace wendaro_test
