#include "tests/support/catalogue_service.h"

#include <atomic>
#include <cstdio>
#include <sstream>

#include "tests/support/temp_folder.h"
#include "tests/support/text.h"
#include "tests/support/wine_path.h"

namespace wendaro_test {

namespace {

std::atomic<int> routeFileCounter{0};

std::wstring StateFolder() {
    wchar_t value[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"WENDARO_CATALOGUE_STATE", value, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return value;
    return WindowsPathOf(std::string(WENDARO_CATALOGUE_STATE));
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// The service reads a "body" as UTF-8 and re-reads every routes file at each
// request: other bytes, and long bodies, go in a file of their own.
bool InlineBody(const std::string& body) {
    if (body.size() > 4096) return false;
    for (unsigned char c : body) {
        if (c >= 0x80) return false;
    }
    return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

}  // namespace

std::string CatalogueService::RouteJson(const Route& route) {
    std::ostringstream json;
    json << "{\"url\": " << JsonString(route.url) << ", \"status\": " << route.status
         << ", \"framing\": " << JsonString(route.framing)
         << ", \"date\": " << (route.date ? "true" : "false") << ", \"headers\": {";
    for (size_t i = 0; i < route.headers.size(); ++i) {
        json << (i ? ", " : "") << JsonString(route.headers[i].first) << ": "
             << JsonString(route.headers[i].second);
    }
    json << "}";
    if (route.bodySize >= 0) {
        json << ", \"body_size\": " << route.bodySize;
    } else if (!route.bodyFile.empty()) {
        json << ", \"body_file\": " << JsonString(route.bodyFile);
    } else if (InlineBody(route.body)) {
        json << ", \"body\": " << JsonString(route.body);
    } else {
        // Relative to the routes folder.
        std::wstring name = m_name + L"-" + std::to_wstring(m_bodyFiles.size() + 1) + L".body";
        m_bodyFiles.push_back(m_folder + L"\\routes\\" + name);
        if (!WriteFileBytes(m_bodyFiles.back(), route.body)) return {};
        json << ", \"body_file\": " << JsonString(Narrow(name));
    }
    if (route.contentLength >= 0) json << ", \"content_length\": " << route.contentLength;
    if (route.dropBeforeResponse > 0) json << ", \"drop_before_response\": " << route.dropBeforeResponse;
    if (route.dropAfter >= 0) json << ", \"drop_after\": " << route.dropAfter;
    if (route.stallBeforeResponse) json << ", \"stall_before_response\": true";
    if (route.stallAfter >= 0) json << ", \"stall_after\": " << route.stallAfter;
    if (route.chunkSize > 0) json << ", \"chunk_size\": " << route.chunkSize;
    if (route.chunkDelayMs > 0) json << ", \"chunk_delay_ms\": " << route.chunkDelayMs;
    if (route.headerDelayMs > 0) json << ", \"header_delay_ms\": " << route.headerDelayMs;
    if (route.endless) json << ", \"endless\": true";
    if (route.noStatusLine) json << ", \"no_status_line\": true";
    if (route.wrongCertificate) json << ", \"certificate\": \"wrong_host\"";
    if (route.tlsStall) json << ", \"stall_tls\": true";
    json << "}";
    return json.str();
}

CatalogueService::CatalogueService()
    : m_folder(StateFolder()),
      m_name(std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++routeFileCounter)),
      m_routesFile(m_folder + L"\\routes\\" + m_name + L".json") {}

// Bodies stay until the end: a request may still be on its way to one that a
// newer set of routes no longer names.
CatalogueService::~CatalogueService() {
    DeleteFileW(m_routesFile.c_str());
    for (const std::wstring& file : m_bodyFiles) DeleteFileW(file.c_str());
}

bool CatalogueService::Running() const { return Port() != 0; }

int CatalogueService::Port() const {
    return atoi(ReadFileBytes(m_folder + L"\\port").c_str());
}

bool CatalogueService::SetRoutes(const std::vector<Route>& routes) {
    std::string json = "{\"routes\": [\n";
    for (size_t i = 0; i < routes.size(); ++i) {
        std::string route = RouteJson(routes[i]);
        if (route.empty()) return false;
        json += (i ? ",\n" : "") + route;
    }
    json += "\n]}\n";
    // The service reads *.json at any moment: write elsewhere, then rename.
    std::wstring temporary = m_routesFile + L".tmp";
    return WriteFileBytes(temporary, json) &&
           MoveFileExW(temporary.c_str(), m_routesFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::vector<LoggedRequest> CatalogueService::RequestsTo(const std::string& text) const {
    std::vector<LoggedRequest> requests;
    std::istringstream lines(ReadFileBytes(m_folder + L"\\requests.log"));
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() < 4 || fields[1].find(text) == std::string::npos) continue;
        requests.push_back({fields[0], fields[1], fields[2], fields[3]});
    }
    return requests;
}

std::string UniqueHost(const std::string& tag) {
    // Wine hands out the same small process ids again within one run: the
    // creation time tells this process from an earlier one with its id.
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    char suffix[64];
    snprintf(suffix, sizeof suffix, "-%lu-%lx.wendaro.test", GetCurrentProcessId(),
             created.dwLowDateTime);
    return tag + suffix;
}

std::string GeneratedBody(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i % 251);
    return body;
}

std::string HttpDate(const SYSTEMTIME& time) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // A round trip through FILETIME fills in the day of the week.
    SYSTEMTIME t = time;
    FILETIME asFileTime;
    if (SystemTimeToFileTime(&time, &asFileTime)) FileTimeToSystemTime(&asFileTime, &t);
    char text[64];
    snprintf(text, sizeof text, "%s, %02u %s %04u %02u:%02u:%02u GMT", days[t.wDayOfWeek % 7],
             t.wDay, months[(t.wMonth + 11) % 12], t.wYear, t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace wendaro_test
