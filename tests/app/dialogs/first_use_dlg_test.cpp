// The consent dialog in this process at 96 DPI: both forms' layout and texts,
// the preset answer, the notice's tooltip and underline, the logo, the links,
// and what OK, Cancel and their equivalents do in each form.
#include "app/dialogs/first_use_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/dialog_ids.h"
#include "shared/endpoints.h"
#include "shared/launch.h"
#include "tests/app/dialogs/dialog_fixture.h"

using namespace wendaro_test;

namespace {

const wchar_t NoticeText[] =
    L"Wendaro exchanges information with the Dravik Download Store, which is powered by Fernhollow. "
    L"Learn more.";
const wchar_t NoFileTip[] =
    L"To receive recommendations, Wendaro periodically sends file extension, language, country to the "
    L"Dravik Download Store and downloads updated application information.";
const wchar_t FileTipStart[] =
    L"The Wendaro recommends free and for-purchase applications from the Dravik Download Store to "
    L"open your files. ";

const std::vector<Placement> NoFileAt96 = {
    {IDC_FIRSTUSE_HEADLINE, 72, 17, 490, 40}, {IDC_RICH_INFO, 72, 63, 475, 60},
    {IDC_FIRSTUSE_QUESTION, 72, 105, 485, 50}, {IDC_RADIO_YES, 72, 145, 180, 30}, {IDC_RADIO_NO, 310, 145, 220, 30},
    {IDC_LINK_STORE_PRIVACY, 72, 208, 130, 25}, {IDC_LINK_MAKER_PRIVACY, 220, 208, 140, 25},
    {IDOK, 395, 203, 78, 25}, {IDCANCEL, 480, 203, 78, 25},
};
const std::vector<Placement> FileAt96 = {
    {IDC_FIRSTUSE_HEADLINE, 72, 17, 490, 20}, {IDC_RICH_INFO, 72, 89, 475, 40},
    {IDC_FIRSTUSE_QUESTION, 72, 45, 500, 50}, {IDC_RADIO_YES, 72, 130, 180, 30}, {IDC_RADIO_NO, 262, 130, 220, 30},
    {IDC_LINK_STORE_PRIVACY, 72, 188, 130, 25}, {IDC_LINK_MAKER_PRIVACY, 220, 188, 140, 25},
    {IDOK, 395, 183, 78, 25}, {IDCANCEL, 480, 183, 78, 25},
};

using FirstUseAt96 = WithSettingsAtDpi<96>;

TEST_F(FirstUseAt96, NoFileFormLaysOutItsControlsAndTexts) {
    DialogState state;
    std::vector<int> order;
    ConsentTexts texts;
    std::wstring shot;
    int result = RunFirstUse(FileTarget{}, [&](HWND dialog) {
        state = ReadDialog(dialog);
        order = ChildOrder(dialog);
        texts = ReadConsentTexts(dialog);
        shot = SaveScreenshot(dialog, L"first-use-no-file");
    });
    ASSERT_EQ(IDCANCEL, result);

    EXPECT_EQ(590, state.size.cx);
    EXPECT_EQ(270, state.size.cy);
    ExpectPlacements(state, NoFileAt96);
    EXPECT_EQ(L"The Wendaro recommends free and for-purchase applications from the Dravik Download "
              L"Store to open files.",
              state.controls[IDC_FIRSTUSE_HEADLINE].text);
    EXPECT_EQ(NoticeText, state.controls[IDC_RICH_INFO].text);
    EXPECT_EQ(L"Do you want Wendaro to recommend software any time Windows cannot open your files?",
              state.controls[IDC_FIRSTUSE_QUESTION].text);
    EXPECT_EQ(L"Yes (recommended)", state.controls[IDC_RADIO_YES].text);
    EXPECT_EQ(L"No (use Windows)", state.controls[IDC_RADIO_NO].text);
    EXPECT_NE(std::wstring::npos, state.controls[IDC_LINK_STORE_PRIVACY].text.find(L"Fernhollow Privacy Policy"));
    EXPECT_NE(std::wstring::npos, state.controls[IDC_LINK_MAKER_PRIVACY].text.find(L"Dravik Online Privacy Statement"));

    // The statics went to the top one by one; the rest follow each other in
    // the tab order Yes, No, the links, OK, Cancel.
    const std::vector<int> expected = {IDC_FIRSTUSE_QUESTION,  IDC_RICH_INFO,          IDC_FIRSTUSE_HEADLINE,
                                       IDC_RADIO_YES,          IDC_RADIO_NO,           IDC_LINK_STORE_PRIVACY,
                                       IDC_LINK_MAKER_PRIVACY, IDOK,                   IDCANCEL};
    EXPECT_EQ(expected, order);
    EXPECT_FALSE(shot.empty());
    ExpectConsentTextsShow(texts, "without a file");

    // It stayed at (0, 0) and hidden through its initialisation: centred.
    EXPECT_TRUE(IsCentredOnScreen(state.window));
}

TEST_F(FirstUseAt96, FileFormIsShorterAndAsksBeforeTheNotice) {
    DialogState state;
    ConsentTexts texts;
    std::wstring shot;
    RunFirstUse(FileTarget{folder.File(L"a.velq"), L"77"}, [&](HWND dialog) {
        state = ReadDialog(dialog);
        texts = ReadConsentTexts(dialog);
        shot = SaveScreenshot(dialog, L"first-use-file");
    });
    EXPECT_EQ(590, state.size.cx);
    EXPECT_EQ(250, state.size.cy);
    ExpectPlacements(state, FileAt96);
    EXPECT_EQ(L"Windows cannot determine which program opens this file.", state.controls[IDC_FIRSTUSE_HEADLINE].text);
    EXPECT_EQ(NoticeText, state.controls[IDC_RICH_INFO].text);
    ExpectConsentTextsShow(texts, "with a file");
    EXPECT_FALSE(shot.empty());
}

TEST_F(FirstUseAt96, PresetAnswerFollowsEnableVELQ) {
    struct Case {
        bool present;
        DWORD value;
        int yes;
    };
    const Case cases[] = {{false, 0, BST_CHECKED}, {true, 1, BST_CHECKED}, {true, 7, BST_CHECKED},
                          {true, 0, BST_UNCHECKED}};
    for (const Case& c : cases) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ);
        if (c.present) wendaro_test::SetDword(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ, c.value);
        int yes = -1;
        int no = -1;
        RunFirstUse(FileTarget{}, [&](HWND dialog) {
            yes = CheckState(dialog, IDC_RADIO_YES);
            no = CheckState(dialog, IDC_RADIO_NO);
        });
        EXPECT_EQ(c.yes, yes) << "present " << c.present << " value " << c.value;
        EXPECT_EQ(c.yes == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, no)
            << "present " << c.present << " value " << c.value;
    }
}

TEST_F(FirstUseAt96, NoticeToolTipDependsOnTheForm) {
    ToolTipState noFile;
    ToolTipState file;
    RunFirstUse(FileTarget{}, [&](HWND dialog) { noFile = ReadNoticeToolTip(dialog); });
    RunFirstUse(FileTarget{folder.File(L"t.velq"), L"5"}, [&](HWND dialog) { file = ReadNoticeToolTip(dialog); });

    ASSERT_TRUE(noFile.found);
    EXPECT_TRUE(HasRect(noFile.rect, 60, 10, 60, 15));
    EXPECT_EQ(NoFileTip, noFile.text);
    EXPECT_EQ(355, noFile.maxWidth);

    ASSERT_TRUE(file.found);
    EXPECT_TRUE(HasRect(file.rect, 60, 10, 60, 15));
    EXPECT_EQ(std::wstring(FileTipStart) + NoFileTip, file.text);
    EXPECT_EQ(380, file.maxWidth);
}

TEST_F(FirstUseAt96, OnlyLearnMoreCarriesTheDottedUnderline) {
    std::wstring underlined = L"<not read>";
    RunFirstUse(FileTarget{},
                [&](HWND dialog) { underlined = DottedUnderlinedText(GetDlgItem(dialog, IDC_RICH_INFO)); });
    EXPECT_EQ(L"Learn more.", underlined);
}

TEST_F(FirstUseAt96, PaintsTheLogoWithoutItsMagentaAndTheSeparator) {
    // The logo's own pixels: one that is magenta (left out) and its centre.
    CBitmap logo;
    ASSERT_TRUE(logo.LoadBitmap(154));
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, logo);
    const COLORREF corner = GetPixel(memory, 0, 0);
    const COLORREF centre = GetPixel(memory, 19, 19);
    SelectObject(memory, old);
    DeleteDC(memory);
    ASSERT_EQ(RGB(255, 0, 255), corner);
    ASSERT_NE(RGB(255, 0, 255), centre);

    for (bool noFile : {true, false}) {
        COLORREF shownCorner = 0, shownCentre = 0, background = 0, line = 0, belowLine = 0;
        const int lineY = noFile ? 189 : 169;
        FileTarget target = noFile ? FileTarget{} : FileTarget{folder.File(L"p.velq"), L"1"};
        RunFirstUse(target, [&](HWND dialog) {
            Repaint(dialog);
            shownCorner = ScreenPixel(dialog, {20, 20});
            shownCentre = ScreenPixel(dialog, {39, 39});
            background = ScreenPixel(dialog, {5, 5});
            line = ScreenPixel(dialog, {300, lineY});
            belowLine = ScreenPixel(dialog, {300, lineY + 1});
        });
        EXPECT_EQ(background, shownCorner) << "form " << noFile;
        EXPECT_EQ(centre, shownCentre) << "form " << noFile;
        EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), line) << "form " << noFile;
        EXPECT_EQ(background, belowLine) << "form " << noFile;
    }
}

// Enter on a focused link opens it as a click does, and is not the dialog's OK.
TEST_F(FirstUseAt96, LinksOpenByClickOrEnterAndLeaveTheDialogOpen) {
    FakeBrowser browser(folder.root());
    bool stillShown = false;
    std::wstring opened;
    int result = RunFirstUse(FileTarget{}, [&](HWND dialog) {
        ClickLink(GetDlgItem(dialog, IDC_LINK_STORE_PRIVACY));
        browser.WaitForLines(1);
        PressEnterOn(dialog, GetDlgItem(dialog, IDC_LINK_MAKER_PRIVACY));
        browser.WaitForLines(2);
        PressEnterOn(dialog, GetDlgItem(dialog, IDC_LINK_STORE_PRIVACY));
        opened = browser.WaitForLines(3);
        stillShown = IsWindowVisible(dialog) != FALSE;
    });
    EXPECT_EQ(std::wstring(StorePrivacyURL) + L"\n" + MakerPrivacyURL + L"\n" + StorePrivacyURL + L"\n", opened);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(IDCANCEL, result);
    DWORD value = 0;
    EXPECT_FALSE(StoredSetting(L"FirstUse", &value));
}

// OK and the ways out, in both forms.
class FirstUseAnswers : public FirstUseAt96 {
protected:
    void SetUp() override {
        FirstUseAt96::SetUp();
        if (IsSkipped()) return;
        file = folder.File(L"answer.velq");
        wendaro_test::WriteFileBytes(file, "data");
    }
    // Gives the answer (No, or neither when 0) and OK: the dialog ends with
    // IDOK, FirstUse is recorded and no other dialog follows.
    void AnswerWithoutYes(const FileTarget& target, int answer) {
        HWND other = nullptr;
        int result = RunFirstUse(target, [&](HWND dialog) {
            if (answer) {
                Click(dialog, answer);
            } else {
                SendDlgItemMessageW(dialog, IDC_RADIO_YES, BM_SETCHECK, BST_UNCHECKED, 0);
                SendDlgItemMessageW(dialog, IDC_RADIO_NO, BM_SETCHECK, BST_UNCHECKED, 0);
            }
            PressOk(dialog);
            other = OtherDialogAfter(dialog);
        });
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ(nullptr, other);
        ExpectSetting(L"FirstUse", 1);
    }
    std::wstring file;
};

TEST_F(FirstUseAnswers, NoFileYesRecordsAndShowsTheNoticeUntilItIsClosed) {
    // OK and Escape close the notice alike.
    for (bool escape : {false, true}) {
        bool consentHidden = false;
        HWND notice = nullptr;
        std::wstring shot;
        int result = RunFirstUse(FileTarget{}, [&](HWND dialog) {
            Click(dialog, IDC_RADIO_YES);
            PressOk(dialog);
            notice = WaitForDialog(GetCurrentProcessId(), NoticeCaption, 10000);
            if (!notice) return;
            consentHidden = !IsWindowVisible(dialog);
            if (escape) {
                PressEscape(notice);
            } else {
                shot = SaveScreenshot(notice, L"turn-on-notice-from-consent");
                Click(notice, IDOK);
            }
            WaitForGone(notice, 5000);
        });
        ASSERT_NE(nullptr, notice) << "escape " << escape;
        EXPECT_TRUE(consentHidden);
        EXPECT_EQ(IDOK, result);
        ExpectSetting(L"FirstUse", 1);
        ExpectSetting(L"EnableVELQ", 1);
        if (!escape) {
            EXPECT_FALSE(shot.empty());
        }
    }
}

TEST_F(FirstUseAnswers, NoFileNoRecordsAndShowsNothingElse) {
    wendaro_test::SetDword(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ, 1);
    AnswerWithoutYes(FileTarget{}, IDC_RADIO_NO);
    ExpectSetting(L"EnableVELQ", 0);
}

TEST_F(FirstUseAnswers, FileYesShowsThePromptForTheSameFileAndCategory) {
    FakeBrowser browser(folder.root());
    std::wstring shownName;
    int result = RunFirstUse(FileTarget{file, L"4242"}, [&](HWND dialog) {
        Click(dialog, IDC_RADIO_YES);
        PressOk(dialog);
        HWND prompt = WaitForDialog(GetCurrentProcessId(), PromptCaption, 10000, dialog);
        if (!prompt) return;
        shownName = ReadDialog(prompt).controls[IDC_STATIC_FILENAME].text;
        // The prompt's store choice opens the page of the category it was given.
        Click(prompt, IDOK);
        WaitForGone(prompt, 5000);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"answer.velq", shownName);
    EXPECT_EQ(GetStoreCategoryURL(L"4242") + L"\n", browser.WaitForLines(1));
    ExpectSetting(L"FirstUse", 1);
    ExpectSetting(L"EnableVELQ", 1);

    std::wstring children;
    WaitUntil([&] { return !(children = ReadText(folder.ChildLog())).empty(); }, 10000);
    EXPECT_NE(std::wstring::npos, children.find(L" /Update \"" + file + L"\""));
}

TEST_F(FirstUseAnswers, FileNoHandsTheFileToTheSystemPromptAndStartsNoChild) {
    FakeOpenWith openWith(folder.root());
    ASSERT_TRUE(openWith.ready());
    {
        FakeOpenWith::Redirect redirect(openWith);
        AnswerWithoutYes(FileTarget{file, L"4242"}, IDC_RADIO_NO);
    }
    ExpectSetting(L"EnableVELQ", 0);

    std::wstring started;
    WaitUntil([&] { return !(started = openWith.Log()).empty(); }, 10000);
    EXPECT_NE(std::wstring::npos, started.find(L"OpenAs_RunDLL " + file)) << started.size();
    EXPECT_EQ(L"", ReadText(folder.ChildLog()));
}

TEST_F(FirstUseAnswers, CancelEscapeAndTheCloseBoxChangeNothingInEitherForm) {
    FakeOpenWith openWith(folder.root());
    FakeOpenWith::Redirect redirect(openWith);
    const std::vector<std::function<void(HWND)>> endings = {
        [](HWND dialog) { Click(dialog, IDCANCEL); },
        [](HWND dialog) { PressEscape(dialog); },
        [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const FileTarget& target : {FileTarget{}, FileTarget{file, L"4242"}}) {
        for (size_t i = 0; i < endings.size(); ++i) {
            bool ended = false;
            HWND other = nullptr;
            int result = RunFirstUse(target, [&](HWND dialog) {
                endings[i](dialog);
                ended = WaitForGone(dialog, 5000);
                other = OtherDialogAfter(dialog, 200);
            });
            EXPECT_TRUE(ended) << "ending " << i;
            EXPECT_EQ(IDCANCEL, result) << "ending " << i;
            EXPECT_EQ(nullptr, other) << "ending " << i;
        }
    }
    DWORD value = 0;
    EXPECT_FALSE(StoredSetting(L"FirstUse", &value));
    EXPECT_FALSE(StoredSetting(L"EnableVELQ", &value));
    Sleep(300);  // a child or helper started by mistake would have written by now
    EXPECT_EQ(L"", ReadText(folder.ChildLog()));
    EXPECT_EQ(L"", openWith.Log());
}

TEST_F(FirstUseAnswers, OkWithNeitherAnswerCheckedOnlyRecordsFirstUse) {
    AnswerWithoutYes(FileTarget{file, L"4242"}, 0);
    DWORD value = 0;
    EXPECT_FALSE(StoredSetting(L"EnableVELQ", &value));
    EXPECT_EQ(L"", ReadText(folder.ChildLog()));
}

}  // namespace
