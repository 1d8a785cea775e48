// The dialog templates, bitmaps and loading animation linked into this test
// are the program's own: each template is read byte by byte and compared with
// its layout, then created for real so every control class resolves; the
// bitmaps and the AVI are checked for their formats and sizes.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/dialog_ids.h"

namespace {

// ---------------------------------------------------------------- reading

// A sz_Or_Ord field: an ordinal or a string.
struct NameOrOrdinal {
    WORD ordinal = 0;
    std::wstring text;
};

struct ItemTemplate {
    DWORD exStyle, style;
    short x, y, cx, cy;
    DWORD id;
    NameOrOrdinal cls;
    NameOrOrdinal title;
};

struct DialogTemplate {
    DWORD exStyle, style;
    short x, y, cx, cy;
    NameOrOrdinal menu, cls;
    std::wstring caption;
    WORD pointSize, weight;
    BYTE italic, charset;
    std::wstring face;
    std::vector<ItemTemplate> items;
};

class Reader {
public:
    Reader(const BYTE* p, size_t size) : m_base(p), m_pos(0), m_size(size) {}

    template <typename T> T Get() {
        T v{};
        if (m_pos + sizeof(T) <= m_size) std::memcpy(&v, m_base + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return v;
    }
    std::wstring String() {
        std::wstring s;
        for (WORD c = Get<WORD>(); c != 0 && m_pos <= m_size; c = Get<WORD>()) s.push_back(c);
        return s;
    }
    NameOrOrdinal NameOrOrd() {
        NameOrOrdinal n;
        WORD first = Get<WORD>();
        if (first == 0xFFFF) {
            n.ordinal = Get<WORD>();
        } else if (first != 0) {
            m_pos -= sizeof(WORD);
            n.text = String();
        }
        return n;
    }
    void AlignDword() { m_pos = (m_pos + 3) & ~size_t(3); }
    void Skip(size_t n) { m_pos += n; }
    bool Overrun() const { return m_pos > m_size; }

private:
    const BYTE* m_base;
    size_t m_pos, m_size;
};

// The raw bytes of a resource of this module, or an empty vector.
std::vector<BYTE> ResourceBytes(UINT id, LPCWSTR type) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const BYTE* p = static_cast<const BYTE*>(LockResource(loaded));
    return p ? std::vector<BYTE>(p, p + SizeofResource(nullptr, found)) : std::vector<BYTE>{};
}

// Parses an extended dialog template (DLGTEMPLATEEX and its items).
bool ParseDialog(const std::vector<BYTE>& bytes, DialogTemplate& out) {
    Reader r(bytes.data(), bytes.size());
    if (r.Get<WORD>() != 1 || r.Get<WORD>() != 0xFFFF) return false;
    r.Get<DWORD>();  // help id
    out.exStyle = r.Get<DWORD>();
    out.style = r.Get<DWORD>();
    WORD count = r.Get<WORD>();
    out.x = r.Get<short>();
    out.y = r.Get<short>();
    out.cx = r.Get<short>();
    out.cy = r.Get<short>();
    out.menu = r.NameOrOrd();
    out.cls = r.NameOrOrd();
    out.caption = r.String();
    if (out.style & (DS_SETFONT | DS_SHELLFONT)) {
        out.pointSize = r.Get<WORD>();
        out.weight = r.Get<WORD>();
        out.italic = r.Get<BYTE>();
        out.charset = r.Get<BYTE>();
        out.face = r.String();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        ItemTemplate item;
        r.Get<DWORD>();  // help id
        item.exStyle = r.Get<DWORD>();
        item.style = r.Get<DWORD>();
        item.x = r.Get<short>();
        item.y = r.Get<short>();
        item.cx = r.Get<short>();
        item.cy = r.Get<short>();
        item.id = r.Get<DWORD>();
        item.cls = r.NameOrOrd();
        item.title = r.NameOrOrd();
        r.Skip(r.Get<WORD>());  // creation data
        out.items.push_back(item);
    }
    return !r.Overrun();
}

// ---------------------------------------------------------------- expected

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadio = kChild | BS_AUTORADIOBUTTON | BS_TOP | BS_MULTILINE;
constexpr DWORD kFlatButton = kChild | BS_PUSHBUTTON | BS_FLAT;
constexpr DWORD kLine = kChild | SS_LEFTNOWORDWRAP;

struct ExpectedItem {
    DWORD id;
    const wchar_t* cls;  // Button and Static stand for their predefined ordinals
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style, exStyle;
};

struct ExpectedDialog {
    UINT id;
    const wchar_t* caption;
    const wchar_t* face;
    WORD pointSize;
    BYTE charset;
    DWORD style, exStyle;
    short cx, cy;
    std::vector<ExpectedItem> items;
};

const ExpectedDialog kPrompt{
    IDD_OPENAS_DIALOG, L"Wendaro", L"Tahoma", 8, 0,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, WS_EX_APPWINDOW,
    402, 182,
    {
        {IDC_RADIO_STORE, L"Button",
         L"Go to Dravik Download Store, powered by Fernhollow, to find the correct program with special price.",
         35, 71, 186, 23, kRadio | WS_GROUP | WS_TABSTOP, WS_EX_TRANSPARENT},
        {IDC_RADIO_OPENWITH, L"Button", L"Select a program from a list of installed programs.", 35, 93, 189, 17,
         kRadio | WS_TABSTOP, WS_EX_TRANSPARENT},
        {IDC_RADIO_WINDOWS, L"Button", L"Use Windows file association service and do not show this next time.", 35,
         118, 185, 17, kRadio | WS_TABSTOP, WS_EX_TRANSPARENT},
        {IDOK, L"Button", L"OK", 274, 161, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {IDCANCEL, L"Button", L"Cancel", 338, 161, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0},
        {IDC_BTN_PREV, L"Button", L"", 255, 74, 9, 14, kFlatButton, 0},
        {IDC_BTN_NEXT, L"Button", L"", 378, 74, 9, 14, kFlatButton, 0},
        {IDC_STATIC_TITLE, L"Static", L"Static", 53, 14, 184, 15, kLine, WS_EX_TRANSPARENT},
        {IDC_BTN_DOT1, L"Button", L"1", 295, 132, 9, 9, kFlatButton, 0},
        {IDC_BTN_DOT2, L"Button", L"2", 306, 132, 9, 9, kFlatButton, 0},
        {IDC_BTN_DOT3, L"Button", L"3", 317, 132, 9, 9, kFlatButton, 0},
        {IDC_BTN_DOT4, L"Button", L"4", 327, 132, 9, 9, kFlatButton, 0},
        {IDC_PICTURE, L"Static", L"", 287, 33, 15, 13, kChild | SS_BITMAP, 0},
        {IDC_BTN_DOT5, L"Button", L"5", 337, 132, 9, 9, kFlatButton, 0},
        {IDC_STATIC_FILENAME, L"Static", L"Static", 53, 34, 183, 13, kLine, WS_EX_TRANSPARENT},
        {IDC_STATIC_QUESTION, L"Static", L"Static", 54, 54, 176, 14, kLine, WS_EX_TRANSPARENT},
        {IDC_STATIC_VERSION, L"Static", L"Static", 52, 162, 100, 8, kChild | SS_LEFT | WS_GROUP, 0},
        {IDC_ANIMATION, L"SysAnimate32", L"", 311, 73, 20, 20, kChild | ACS_CENTER | ACS_AUTOPLAY | WS_TABSTOP, 0},
    }};

const ExpectedDialog kConsent{
    IDD_FIRSTUSE_DIALOG, L"Wendaro", L"MS Shell Dlg", 8, 1,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS, 0,
    406, 161,
    {
        {IDC_RADIO_YES, L"Button", L"Yes, use Wendaro", 50, 92, 137, 15, kRadio | WS_GROUP | WS_TABSTOP, 0},
        {IDC_RADIO_NO, L"Button", L"No, use standard Windows file association services.", 191, 92, 189, 18,
         kChild | BS_AUTORADIOBUTTON | BS_TOP | WS_TABSTOP, 0},
        {IDC_LINK_STORE_PRIVACY, L"SysLink", L"<a>SysLink2</a>", 49, 132, 97, 14, kChild | WS_TABSTOP, 0},
        {IDC_LINK_MAKER_PRIVACY, L"SysLink", L"<a>SysLink3</a>", 152, 132, 103, 14, kChild | WS_TABSTOP, 0},
        {IDOK, L"Button", L"OK", 280, 131, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {IDCANCEL, L"Button", L"Cancel", 338, 131, 50, 14, kChild | WS_TABSTOP, 0},
        {IDC_FIRSTUSE_QUESTION, L"Static", L"Static", 47, 65, 318, 26, kChild | SS_LEFT, 0},
        {IDC_FIRSTUSE_HEADLINE, L"Static", L"Static", 47, 14, 324, 18, kChild | SS_LEFT, 0},
        {IDC_RICH_INFO, L"RichEdit20W", L"", 47, 39, 325, 27,
         kChild | ES_MULTILINE | ES_NOHIDESEL | ES_READONLY | ES_WANTRETURN | WS_VSCROLL, WS_EX_TRANSPARENT},
    }};

const ExpectedDialog kNotice{
    IDD_TURNON_DIALOG, L"Enable Wendaro", L"MS Shell Dlg", 8, 1,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS, 0,
    300, 101,
    {
        {IDOK, L"Button", L"OK", 237, 78, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {IDC_TURNON_TEXT, L"Static", L"Static", 17, 15, 267, 34, kChild | SS_LEFT | WS_GROUP, WS_EX_TRANSPARENT},
    }};

// Predefined classes are stored as ordinals, the others by name (the resource
// compiler capitalises those; class names are looked up without case).
bool ClassMatches(const NameOrOrdinal& stored, const wchar_t* expected) {
    if (wcscmp(expected, L"Button") == 0) return stored.ordinal == 0x80;
    if (wcscmp(expected, L"Static") == 0) return stored.ordinal == 0x82;
    return stored.ordinal == 0 && _wcsicmp(stored.text.c_str(), expected) == 0;
}

class DialogTemplates : public ::testing::TestWithParam<const ExpectedDialog*> {
protected:
    static void SetUpTestSuite() {
        LoadLibraryW(L"riched20.dll");
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
        InitCommonControlsEx(&icc);
    }
};

TEST_P(DialogTemplates, HeaderMatchesLayout) {
    const ExpectedDialog& want = *GetParam();
    DialogTemplate got;
    ASSERT_TRUE(ParseDialog(ResourceBytes(want.id, RT_DIALOG), got)) << want.id;
    EXPECT_EQ(got.style, want.style) << std::hex << got.style;
    EXPECT_EQ(got.exStyle, want.exStyle);
    EXPECT_EQ(got.x, 0);
    EXPECT_EQ(got.y, 0);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_TRUE(got.menu.ordinal == 0 && got.menu.text.empty());
    EXPECT_TRUE(got.cls.ordinal == 0 && got.cls.text.empty());
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_EQ(got.face, want.face);
    EXPECT_EQ(got.pointSize, want.pointSize);
    EXPECT_EQ(got.weight, 400);
    EXPECT_EQ(got.italic, 0);
    EXPECT_EQ(got.charset, want.charset);
}

TEST_P(DialogTemplates, EveryControlInTemplateOrder) {
    const ExpectedDialog& want = *GetParam();
    DialogTemplate got;
    ASSERT_TRUE(ParseDialog(ResourceBytes(want.id, RT_DIALOG), got));
    ASSERT_EQ(got.items.size(), want.items.size());
    for (size_t i = 0; i < want.items.size(); ++i) {
        const ExpectedItem& w = want.items[i];
        const ItemTemplate& g = got.items[i];
        SCOPED_TRACE("control " + std::to_string(w.id));
        EXPECT_EQ(g.id, w.id);
        EXPECT_TRUE(ClassMatches(g.cls, w.cls)) << g.cls.ordinal;
        EXPECT_EQ(g.title.ordinal, 0);
        EXPECT_EQ(g.title.text, w.text);
        EXPECT_EQ(g.x, w.x);
        EXPECT_EQ(g.y, w.y);
        EXPECT_EQ(g.cx, w.cx);
        EXPECT_EQ(g.cy, w.cy);
        EXPECT_EQ(g.style, w.style) << std::hex << g.style << " != " << w.style;
        EXPECT_EQ(g.exStyle, w.exStyle);
    }
}

INT_PTR CALLBACK PassiveProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Creating the template proves that every class resolves (a missing rich
// edit or link class would make the dialog manager fail the whole dialog).
TEST_P(DialogTemplates, CreatesWithEveryControl) {
    const ExpectedDialog& want = *GetParam();
    std::vector<BYTE> bytes = ResourceBytes(want.id, RT_DIALOG);
    ASSERT_GE(bytes.size(), 16u);
    DWORD style;
    std::memcpy(&style, &bytes[12], sizeof(style));
    style &= ~WS_VISIBLE;  // stays off the shared desktop
    std::memcpy(&bytes[12], &style, sizeof(style));

    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr,
                                             PassiveProc, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    for (const ExpectedItem& w : want.items) {
        HWND control = GetDlgItem(dialog, static_cast<int>(w.id));
        ASSERT_NE(control, nullptr) << w.id;
        wchar_t cls[64] = {};
        GetClassNameW(control, cls, 64);
        EXPECT_EQ(_wcsicmp(cls, w.cls), 0) << w.id << ": " << cls;
    }
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(Resources, DialogTemplates, ::testing::Values(&kPrompt, &kConsent, &kNotice),
                         [](const ::testing::TestParamInfo<const ExpectedDialog*>& info) {
                             return "Template" + std::to_string(info.param->id);
                         });

// ---------------------------------------------------------------- bitmaps

struct ExpectedBitmap {
    UINT id;
    LONG width, height;
};

TEST(Bitmaps, TwentyFourBitsOnMagentaAtTheirSizes) {
    const ExpectedBitmap kBitmaps[] = {
        {IDB_PREV_NORMAL, 17, 18}, {IDB_PREV_PRESSED, 17, 18}, {IDB_PREV_HOVER, 17, 18},
        {IDB_NEXT_NORMAL, 17, 18}, {IDB_NEXT_PRESSED, 17, 18}, {IDB_NEXT_HOVER, 17, 18},
        {IDB_DOT, 7, 7},           {IDB_DOT_CURRENT, 7, 7},    {IDB_LOGO, 38, 38},
    };
    for (const ExpectedBitmap& want : kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(want.id));
        std::vector<BYTE> bytes = ResourceBytes(want.id, RT_BITMAP);
        ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, bytes.data(), sizeof(header));
        EXPECT_EQ(header.biWidth, want.width);
        EXPECT_EQ(header.biHeight, want.height);
        EXPECT_EQ(header.biBitCount, 24);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

        HBITMAP loaded = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(want.id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        ASSERT_NE(loaded, nullptr);
        BITMAP bm{};
        GetObjectW(loaded, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, want.width);
        EXPECT_EQ(bm.bmHeight, want.height);

        // Every corner is background, and a good part is drawn.
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, loaded);
        const LONG w = want.width - 1, h = want.height - 1;
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 255));
        EXPECT_EQ(GetPixel(dc, w, 0), RGB(255, 0, 255));
        EXPECT_EQ(GetPixel(dc, 0, h), RGB(255, 0, 255));
        EXPECT_EQ(GetPixel(dc, w, h), RGB(255, 0, 255));
        int drawn = 0;
        for (LONG y = 0; y <= h; ++y)
            for (LONG x = 0; x <= w; ++x) drawn += GetPixel(dc, x, y) != RGB(255, 0, 255);
        EXPECT_GT(drawn, want.width * want.height / 5);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(loaded);
    }
}

// ---------------------------------------------------------------- animation

// Finds a chunk with the given code among the chunks in [begin, end).
const BYTE* FindChunk(const BYTE* begin, const BYTE* end, const char* code, const char* listType = nullptr) {
    for (const BYTE* p = begin; p + 8 <= end;) {
        DWORD size;
        std::memcpy(&size, p + 4, 4);
        if (std::memcmp(p, code, 4) == 0 && (!listType || std::memcmp(p + 8, listType, 4) == 0)) return p;
        p += 8 + size + (size & 1);
    }
    return nullptr;
}

TEST(LoadingAnimation, UncompressedFourFramesWithoutSound) {
    std::vector<BYTE> avi = ResourceBytes(IDR_LOADING_AVI, L"AVI");
    ASSERT_GE(avi.size(), 12u);
    ASSERT_EQ(std::memcmp(avi.data(), "RIFF", 4), 0);
    ASSERT_EQ(std::memcmp(avi.data() + 8, "AVI ", 4), 0);
    const BYTE* end = avi.data() + avi.size();

    const BYTE* hdrl = FindChunk(avi.data() + 12, end, "LIST", "hdrl");
    ASSERT_NE(hdrl, nullptr);
    const BYTE* avih = FindChunk(hdrl + 12, end, "avih");
    ASSERT_NE(avih, nullptr);
    DWORD main[10];
    std::memcpy(main, avih + 8, sizeof(main));
    EXPECT_EQ(main[0], 349999u);  // microseconds per frame
    EXPECT_EQ(main[4], 4u);       // frames
    EXPECT_EQ(main[6], 1u);       // streams: video only
    EXPECT_EQ(main[8], 180u);
    EXPECT_EQ(main[9], 194u);

    const BYTE* strl = FindChunk(avih, end, "LIST", "strl");
    ASSERT_NE(strl, nullptr);
    const BYTE* strh = FindChunk(strl + 12, end, "strh");
    ASSERT_NE(strh, nullptr);
    EXPECT_EQ(std::memcmp(strh + 8, "vids", 4), 0);
    const BYTE* strf = FindChunk(strh, end, "strf");
    ASSERT_NE(strf, nullptr);
    BITMAPINFOHEADER format;
    std::memcpy(&format, strf + 8, sizeof(format));
    EXPECT_EQ(format.biWidth, 180);
    EXPECT_EQ(format.biHeight, 194);
    EXPECT_EQ(format.biBitCount, 24);
    EXPECT_EQ(format.biCompression, static_cast<DWORD>(BI_RGB));

    const BYTE* movi = FindChunk(hdrl, end, "LIST", "movi");
    ASSERT_NE(movi, nullptr);
    DWORD moviSize;
    std::memcpy(&moviSize, movi + 4, 4);
    int frames = 0;
    for (const BYTE* p = movi + 12; p + 8 <= movi + 8 + moviSize;) {
        DWORD size;
        std::memcpy(&size, p + 4, 4);
        EXPECT_EQ(std::memcmp(p, "00db", 4), 0);
        EXPECT_EQ(size, 540u * 194u);
        ++frames;
        p += 8 + size + (size & 1);
    }
    EXPECT_EQ(frames, 4);
}

TEST(LoadingAnimation, OpensInTheAnimationControl) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&icc);
    HWND animation = CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_POPUP | ACS_CENTER, 0, 0, 200, 200, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(SendMessageW(animation, ACM_OPENW, reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDR_LOADING_AVI))));
    EXPECT_TRUE(SendMessageW(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF)));
    SendMessageW(animation, ACM_STOP, 0, 0);
    DestroyWindow(animation);
}

}  // namespace
