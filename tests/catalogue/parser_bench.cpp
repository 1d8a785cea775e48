// Times the store product-list parser on generated lists of 10, 50 and 500
// products and of 1 MiB and 10 MiB (the largest list the update run keeps):
// Load, then Parse as the category manager calls it. The time per product
// should not grow with the size of the list.
//
// Run with `make bench-parser`. Prints one line per list size.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/cat_id_parser.h"
#include "tests/support/temp_folder.h"

namespace {

class CountingSink : public VELQCOMMON::IVELQXMLSink {
public:
    void Reserved() override {}
    void OnMatch(const std::wstring&, const std::wstring&) override {}
    void OnProduct(const std::wstring&, const std::wstring&, const std::wstring&,
                   const std::wstring& imageUrl, const std::wstring&, float) override {
        ++count;
        if (!imageUrl.empty()) ++withPicture;
    }
    int count = 0;
    int withPicture = 0;
};

// A response shaped like the store's: five attributes before the thumbnail,
// so the attribute scan reads them all.
// Either the given number of products, or as many as make the list reach
// minimumBytes; products tells how many it holds.
std::string MakeResponse(int& products, size_t minimumBytes = 0) {
    const std::string end = "</ns1:SearchProductResponse>\n";
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<ns1:SearchProductResponse xmlns:ns1=\"http://services.fernhollow.example/ShoppingCartService\">\n";
    int i = 1;
    for (; minimumBytes ? xml.size() + end.size() < minimumBytes : i <= products; ++i) {
        std::string n = std::to_string(i);
        xml += "  <products>\n"
               "    <productKey><companyID>company" + n + "</companyID><productID>P" + n +
               "</productID></productKey>\n"
               "    <baseFields><name>Product number " + n + "</name>"
               "<shortDescription>A program that opens many kinds of files.</shortDescription>"
               "<thumbnailImage></thumbnailImage><productImage></productImage></baseFields>\n";
        for (const char* name : {"vendor", "platform", "language", "rating", "channelDetailImage"})
            xml += std::string("    <attributes><name>") + name + "</name><value>value-" + n + ".png</value></attributes>\n";
        xml += "    <attributes><name>channelThumbnail</name><value>thumb-" + n + ".png</value></attributes>\n"
               "    <pricing><totalPriceWithDiscount><amount>" + n + ".99</amount>"
               "<currency>USD</currency></totalPriceWithDiscount></pricing>\n"
               "  </products>\n";
    }
    products = i - 1;
    return xml + end;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Timing {
    double loadMs;
    double parseMs;
};

// One Load and one Parse of the file; false when either fails.
bool TimeOnce(const std::wstring& path, int expected, Timing& timing) {
    VELQCOMMON::CVELQCatIDParser parser;
    CountingSink sink;
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    if (parser.Load(path) != 0) return false;
    QueryPerformanceCounter(&t1);
    HRESULT hr = parser.Parse(L"//ns1:SearchProductResponse/products", L"", &sink);
    QueryPerformanceCounter(&t2);
    timing = {Milliseconds(t0, t1), Milliseconds(t1, t2)};
    return hr == 0 && sink.count == expected && sink.withPicture == expected;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"wendaro_parser_bench.xml";

    std::printf("%9s %9s %5s %10s %10s %10s %14s\n", "products", "bytes", "runs", "load ms",
                "parse ms", "min ms", "us/product");
    int status = 0;
    struct ListSize {
        int products;
        size_t bytes;
        int runs;
    };
    const ListSize sizes[] = {{10, 0, 30}, {50, 0, 10}, {500, 0, 3}, {0, 1 << 20, 3}, {0, 10 << 20, 1}};
    for (ListSize size : sizes) {
        int products = size.products;
        std::string xml = MakeResponse(products, size.bytes);
        if (!wendaro_test::WriteFileBytes(path, xml)) return 2;
        const int runs = size.runs;
        std::vector<double> loads, parses;
        for (int run = 0; run < runs; ++run) {
            Timing timing;
            if (!TimeOnce(path, products, timing)) {
                std::printf("%9d parse failed\n", products);
                status = 3;
                break;
            }
            loads.push_back(timing.loadMs);
            parses.push_back(timing.parseMs);
        }
        if (parses.empty()) continue;
        double parse = Median(parses);
        std::printf("%9d %9zu %5d %10.2f %10.2f %10.2f %14.1f\n", products, xml.size(), runs,
                    Median(loads), parse, *std::min_element(parses.begin(), parses.end()),
                    1000.0 * parse / products);
        std::fflush(stdout);
    }
    DeleteFileW(path.c_str());
    CoUninitialize();
    return status;
}
