// The tooltip wrapper, whose arguments are more than a pass-through: a
// popup owned by the parent, tools by rectangle and id.
#include <gtest/gtest.h>

#include "framework/afx.h"

namespace {

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_TRUE(host.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(tool.CreateEx(0, L"STATIC", L"", WS_CHILD, 10, 10, 120, 40, host.m_hWnd,
                                  reinterpret_cast<HMENU>(1004)));
        ASSERT_TRUE(tip.Create(&host, TTS_BALLOON));
    }
    void TearDown() override { host.DestroyWindow(); }

    TTTOOLINFOW Tool(HWND owner, UINT_PTR id) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = owner;
        info.uId = id;
        EXPECT_TRUE(tip.SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
        return info;
    }

    CWnd host;
    CWnd tool;
    CToolTipCtrl tip;
};

TEST_F(ToolTipTest, CreatesAnOwnedPopupWithTheStyleAdded) {
    EXPECT_EQ(host.m_hWnd, GetWindow(tip.m_hWnd, GW_OWNER));
    EXPECT_TRUE(tip.GetStyle() & WS_POPUP);
    EXPECT_TRUE(tip.GetStyle() & TTS_BALLOON);
}

TEST_F(ToolTipTest, ARectangleToolIsNamedByItsIdOnTheToolWindow) {
    CRect area(60, 10, 120, 25);
    ASSERT_TRUE(tip.AddTool(&tool, L"tip text", &area, 1004));
    EXPECT_EQ(1, tip.SendMessage(TTM_GETTOOLCOUNT));
    TTTOOLINFOW info = Tool(tool.m_hWnd, 1004);
    EXPECT_EQ(area, CRect(info.rect));
    EXPECT_EQ(0u, info.uFlags & (TTF_IDISHWND | TTF_SUBCLASS));
}

}  // namespace
