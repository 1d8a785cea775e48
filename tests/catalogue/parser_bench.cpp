// Times the store product-list parser on generated lists of 10, 50 and 500
// products and of 1 MiB and 10 MiB (the largest list the update run keeps),
// flat and with one response nested in another: Load, then Parse as the
// category manager calls it. The time per product should not grow with the
// size of the list.
//
// Run with `make bench-parser`. Prints one line per list.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/cat_id_parser.h"
#include "tests/support/median.h"
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

// One product shaped like the store's: five attributes before the
// thumbnail, so the attribute scan reads them all.
std::string ProductXml(int number) {
    std::string n = std::to_string(number);
    std::string xml =
        "    <productKey><companyID>company" + n + "</companyID><productID>P" + n +
        "</productID></productKey>\n"
        "    <baseFields><name>Product number " + n + "</name>"
        "<shortDescription>A program that opens many kinds of files.</shortDescription>"
        "<thumbnailImage></thumbnailImage><productImage></productImage></baseFields>\n";
    for (const char* name : {"vendor", "platform", "language", "rating", "channelDetailImage"})
        xml += std::string("    <attributes><name>") + name + "</name><value>value-" + n + ".png</value></attributes>\n";
    return xml + "    <attributes><name>channelThumbnail</name><value>thumb-" + n + ".png</value></attributes>\n"
                 "    <pricing><totalPriceWithDiscount><amount>" + n + ".99</amount>"
                 "<currency>USD</currency></totalPriceWithDiscount></pricing>\n";
}

struct List {
    std::string xml;
    int products = 0;  // what the query counts
    int pictures = 0;  // the positions that get a picture
};

// Either the given number of products, or as many as make the list reach
// minimumBytes. Nested, the second half of the products is a response of its
// own at the start of the first product, so its products come first in
// document order at their positions and the positions past them are empty.
List MakeList(int products, size_t minimumBytes, bool nested) {
    const std::string begin =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<ns1:SearchProductResponse xmlns:ns1=\"http://services.fernhollow.example/ShoppingCartService\">\n";
    const std::string end = "</ns1:SearchProductResponse>\n";
    auto product = [](const std::string& body) { return "  <products>\n" + body + "  </products>\n"; };
    std::vector<std::string> bodies;
    size_t bytes = begin.size() + end.size();
    while (minimumBytes ? bytes < minimumBytes : static_cast<int>(bodies.size()) < products) {
        bodies.push_back(ProductXml(static_cast<int>(bodies.size()) + 1));
        bytes += product(bodies.back()).size();
    }
    const int count = static_cast<int>(bodies.size());
    const int outer = nested ? (count + 1) / 2 : count;
    std::string inner;
    if (nested) {
        inner = "<ns1:SearchProductResponse>\n";
        for (int i = outer; i < count; ++i) inner += product(bodies[i]);
        inner += end;
    }
    List list;
    list.xml = begin;
    for (int i = 0; i < outer; ++i) list.xml += product(i == 0 ? inner + bodies[i] : bodies[i]);
    list.xml += end;
    list.products = count;
    list.pictures = std::max(outer, count - outer);
    return list;
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
bool TimeOnce(const std::wstring& path, const List& list, Timing& timing) {
    VELQCOMMON::CVELQCatIDParser parser;
    CountingSink sink;
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    if (parser.Load(path) != 0) return false;
    QueryPerformanceCounter(&t1);
    HRESULT hr = parser.Parse(L"//ns1:SearchProductResponse/products", L"", &sink);
    QueryPerformanceCounter(&t2);
    timing = {Milliseconds(t0, t1), Milliseconds(t1, t2)};
    return hr == 0 && sink.count == list.products && sink.withPicture == list.pictures;
}

}  // namespace

int wmain() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"wendaro_parser_bench.xml";

    std::printf("%6s %9s %9s %5s %10s %10s %10s %14s\n", "list", "products", "bytes", "runs", "load ms",
                "parse ms", "min ms", "us/product");
    int status = 0;
    struct ListSize {
        int products;
        size_t bytes;
        int runs;
        bool nested;
    };
    const ListSize sizes[] = {{10, 0, 30, false},       {50, 0, 10, false},        {500, 0, 3, false},
                              {0, 1 << 20, 3, false},   {0, 10 << 20, 1, false},   {500, 0, 3, true},
                              {0, 1 << 20, 3, true},    {0, 10 << 20, 1, true}};
    for (ListSize size : sizes) {
        const List list = MakeList(size.products, size.bytes, size.nested);
        const char* shape = size.nested ? "nested" : "flat";
        if (!wendaro_test::WriteFileBytes(path, list.xml)) return 2;
        std::vector<double> loads, parses;
        for (int run = 0; run < size.runs; ++run) {
            Timing timing;
            if (!TimeOnce(path, list, timing)) {
                std::printf("%6s %9d parse failed\n", shape, list.products);
                status = 3;
                break;
            }
            loads.push_back(timing.loadMs);
            parses.push_back(timing.parseMs);
        }
        if (parses.empty()) continue;
        double parse = wendaro_test::Median(parses);
        std::printf("%6s %9d %9zu %5d %10.2f %10.2f %10.2f %14.1f\n", shape, list.products, list.xml.size(),
                    size.runs, wendaro_test::Median(loads), parse, *std::min_element(parses.begin(), parses.end()),
                    1000.0 * parse / list.products);
        std::fflush(stdout);
    }
    DeleteFileW(path.c_str());
    CoUninitialize();
    return status;
}
