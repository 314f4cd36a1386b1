// The frame object: how it takes a window over and gives it back, message
// boxes widened to their caption, a skin that goes away, MDI windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "skin/SkinTabs.h"
#include "tests/harness/Rects.h"
#include "tests/skin/FrameFixture.h"

namespace pellix::test {
namespace {

constexpr int L = ts::LeftWidth, T = ts::CaptionHeight, R = ts::RightWidth, B = ts::BottomHeight;
constexpr DWORD kBoxes = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

class WinSkinForm : public SkinnedFrames {
protected:
    void TearDown() override {
        lightForm.reset();
        SkinnedFrames::TearDown();
    }
    std::unique_ptr<TForm, ComponentFree> lightForm;

    // Switches skinning off and waits for the manager to drop the frames.
    void Unskin() {
        skin->SetActive(false);
        ASSERT_TRUE(PumpUntil([] { return SkinManager->Frames().empty(); }));
        PumpMessages();
    }
};

TEST_F(WinSkinForm, AnswersItsQueryFromTheAttachOnBeforeItHasStarted) {
    FrameTestWindows::Instance();
    HWND h = CreateWindowExA(0, FrameTestWindows::ClassName, "query", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    // The activation attached the frame; its start is still in the queue.
    ASSERT_NE(FrameOf(h), nullptr);
    EXPECT_EQ(FrameOf(h)->FrameState, FrameStateNotStarted);
    EXPECT_EQ(SendMessageA(h, SkinMsgQuery, 0, 0), 1);
    WaitStarted(h);
    DestroyWindow(h);
}

TEST_F(WinSkinForm, UnskinningGivesThePlatformFrameBackAroundTheSameClientArea) {
    FrameTestWindows::Instance();
    HWND probe = CreateWindowExA(0, FrameTestWindows::ClassName, "plain", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const POINT platformOrigin = ClientOrigin(probe);
    DestroyWindow(probe);

    HWND plain = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    TForm& form = ShowForm(RECT{150, 150, 450, 350});
    const TColor formColour = form.Color();
    ASSERT_EQ(formColour, skin->ButtonFaceColour) << "the skin's face";
    const SIZE plainClient = ClientSize(plain), formClient = ClientSize(form.Handle());

    Unskin();
    for (HWND h : {plain, form.Handle()}) {
        EXPECT_EQ(ClientSize(h).cx, h == plain ? plainClient.cx : formClient.cx);
        EXPECT_EQ(ClientSize(h).cy, h == plain ? plainClient.cy : formClient.cy);
        EXPECT_EQ(ClientOrigin(h).x, platformOrigin.x);
        EXPECT_EQ(ClientOrigin(h).y, platformOrigin.y);
        EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & kBoxes, kBoxes) << "the caption boxes are back";
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(h, region), ERROR) << "no region";
        DeleteObject(region);
        EXPECT_EQ(SendMessageA(h, SkinMsgQuery, 0, 0), 0);
    }
    EXPECT_EQ(form.Color(), clBtnFace) << "the form's own colour";
}

TEST_F(WinSkinForm, APlainChildWindowKeepsItsCaptionAndFrame) {
    HWND parent = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 500, 400});
    HWND child = CreateWindowExA(0, FrameTestWindows::ClassName, "child", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 20, 20, 200, 150, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    const RECT before = WindowRect(child);
    const POINT origin = ClientOrigin(child);
    // Only switching skinning on frames a child, by its form; a plain child
    // window is framed as the manager's walk would.
    SkinManager->BulkSkinning = true;
    ASSERT_TRUE(SkinManager->SkinWindow(child));
    SkinManager->BulkSkinning = false;
    PumpMessages();
    EXPECT_EQ(SendMessageA(child, SkinMsgQuery, 0, 0), 1);
    EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & kBoxes, kBoxes);
    EXPECT_EQ(WindowRect(child), before);
    EXPECT_EQ(ClientOrigin(child).x, origin.x);
    EXPECT_EQ(ClientOrigin(child).y, origin.y);
    DestroyWindow(child);
}

TEST_F(WinSkinForm, AFrameAttachedLightKeepsThePlatformFrame) {
    skin->SkinControls &= ~SkinControlBit(xcMainMenu);
    FrameTestWindows::Instance();
    HWND h = CreateWindowExA(0, FrameTestWindows::ClassName, "light", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    const POINT platformOrigin = ClientOrigin(h);
    const RECT before = WindowRect(h);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    PumpMessages();
    ASSERT_NE(FrameOf(h), nullptr);
    EXPECT_EQ(ClientOrigin(h).x, platformOrigin.x);
    EXPECT_EQ(ClientOrigin(h).y, platformOrigin.y);
    EXPECT_EQ(WindowRect(h), before);
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & kBoxes, kBoxes);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, region), ERROR);
    DeleteObject(region);
    DestroyWindow(h);
}

TEST_F(WinSkinForm, DetachesAsItWasAttachedWhateverTheSwitchesSayNow) {
    TForm& form = ShowForm(RECT{150, 150, 450, 350});
    const SIZE client = ClientSize(form.Handle());
    // A second attach changes nothing, the saved colour included.
    FrameOf(form.Handle())->AttachForm(skin.get(), &form);
    skin->SkinControls &= ~SkinControlBit(xcMainMenu);
    Unskin();
    EXPECT_EQ(SendMessageA(form.Handle(), SkinMsgQuery, 0, 0), 0) << "the window procedure is the form's again";
    EXPECT_EQ(GetWindowLongA(form.Handle(), GWL_STYLE) & kBoxes, kBoxes);
    EXPECT_EQ(ClientSize(form.Handle()).cx, client.cx);
    EXPECT_EQ(ClientSize(form.Handle()).cy, client.cy);
    EXPECT_EQ(form.Color(), clBtnFace);
}

TEST_F(WinSkinForm, AWindowProcPutInFrontOfTheFramesKeepsWorkingAfterTheFrameIsGone) {
    TForm& form = ShowForm(RECT{150, 150, 450, 350});
    int seen = 0;
    TWndMethod previous = form.WindowProc;
    form.WindowProc = [&seen, previous](TMessage& m) {
        seen += m.Msg == WM_USER + 7;
        previous(m);
    };
    Unskin();
    // The frame is freed; the chain still runs through the place it held.
    EXPECT_EQ(SendMessageA(form.Handle(), SkinMsgQuery, 0, 0), 0);
    SendMessageA(form.Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(seen, 1);
    form.SetCaption("Still a form");
    EXPECT_EQ(form.Caption(), "Still a form");
    form.WindowProc = previous;  // the spy's counter goes with this test
}

TEST_F(WinSkinForm, ASkinChangeGivesTheFramesControlSkinsTheNewFaceAndTabImages) {
    TForm& form = ShowForm(RECT{150, 150, 500, 400});
    TWinSkinForm* frame = FrameOf(form.Handle());
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 100, 60);
    auto* panelSkin = new TSkinControl(frame);
    panelSkin->AttachControl(panel, skin.get(), true, &frame->ControlCanvas);
    ASSERT_EQ(panel->Color(), skin->ButtonFaceColour);
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 10, 80, 200, 80, form.Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("Page");
    SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    auto* tabSkin = new TSkinTab(frame);
    tabSkin->AttachHandle(tabs, skin.get(), &frame->ControlCanvas);
    frame->ControlSkins.push_back(tabSkin);

    ts::TTestSkinOptions other;
    other.Variant = 1;
    ts::FillStream(skin->SkinStream, ts::TestSkin(other));
    ASSERT_TRUE(skin->LoadSkinStream());
    bool changed = false;
    skin->OnSkinChanged = [&](TObject*) { changed = true; };
    skin->ApplySkin();
    ASSERT_TRUE(PumpUntil([&] { return changed; }));
    EXPECT_EQ(ColorToRGB(panel->Color()), ts::Colours(1).ButtonFace);
    EXPECT_EQ(ColorToRGB(form.Color()), ts::Colours(1).ButtonFace);
    const ts::TLayout& layout = ts::Layout(ts::TElement::Tabs);
    const int x = layout.FrameWidth / 2, y = layout.FrameHeight / 2;
    EXPECT_EQ(static_cast<uint32_t>(tabSkin->TabImage.Canvas()->Pixel(x, y)),
              ts::FramePixel(ts::TElement::Tabs, 1, x, y, 1));
}

// A control skin that counts the leaves the frame sends it.
class LeaveCounter : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override {
        leaves += message.Msg == CM_MOUSELEAVE;
        return true;
    }
    int leaves = 0;
};

TEST_F(WinSkinForm, TheHotControlHearsItIsLeftWhenTheCursorIsGoneOrTheWindowInactive) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    TWinSkinForm* frame = FrameOf(h);
    HWND label = CreateWindowExA(0, "STATIC", "Label", WS_CHILD | WS_VISIBLE, 10, 10, 120, 30, h, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    auto* control = new LeaveCounter(frame);
    control->AttachHandle(label, skin.get(), &frame->ControlCanvas);
    frame->ControlSkins.push_back(control);
    GetWindowRect(label, &control->WindowRect);

    // The cursor elsewhere: the frame timer finds it outside the control.
    frame->HotControl = control;
    MoveMouse(POINT{control->WindowRect.right + 50, control->WindowRect.bottom + 50});
    EXPECT_TRUE(PumpUntil([&] { return frame->HotControl == nullptr; }));
    EXPECT_EQ(control->leaves, 1);

    // Inside it, the timer leaves it hot; the window losing activation does not.
    MoveMouse(POINT{control->WindowRect.left + 5, control->WindowRect.top + 5});
    frame->HotControl = control;
    Sleep(400);
    PumpMessages();
    EXPECT_EQ(frame->HotControl, control);
    Deactivate();
    EXPECT_EQ(frame->HotControl, nullptr);
    EXPECT_EQ(control->leaves, 2);
}

TEST_F(WinSkinForm, AHiddenFormAttachedLightStaysHiddenWhenUnskinned) {
    skin->SkinControls &= ~SkinControlBit(xcMainMenu);
    lightForm.reset(new TForm(nullptr));
    TForm& form = *lightForm;
    form.SetBounds(150, 150, 300, 200);
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return FrameOf(form.Handle()) != nullptr; }));
    form.Hide();
    PumpMessages();
    Unskin();
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(IsIconic(form.Handle()));
}

TEST_F(WinSkinForm, ALoadThatFailsBeforeItsParseKeepsTheFramesButtons) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    const size_t buttons = FrameOf(h)->SysButtons.size();
    ASSERT_GT(buttons, 0u);
    // The reader's message about an older file goes nowhere here.
    MessageBoxHook = [](const std::string&, TMsgDlgType, TMsgDlgButtons) { return 1; };
    ts::FillStream(skin->SkinStream, ts::WrongMagicSkin());
    EXPECT_FALSE(skin->LoadSkinStream());
    bool changed = false;
    skin->OnSkinChanged = [&](TObject*) { changed = true; };
    skin->ApplySkin();
    EXPECT_TRUE(PumpUntil([&] { return changed; }));
    MessageBoxHook = nullptr;
    EXPECT_EQ(FrameOf(h)->SysButtons.size(), buttons) << "rebuilt from the skin that stayed";
    const RECT r = WindowRect(h);
    const ts::TLayout& close = ts::Layout(ts::TElement::CloseButton);
    EXPECT_EQ(PixelShot::OfWindow(h).At(r.right - r.left - 22 + close.FrameWidth / 2, 4 + close.FrameHeight / 2),
              ts::FramePixel(ts::TElement::CloseButton, 1, close.FrameWidth / 2, close.FrameHeight / 2));
}

// A white icon whose outermost ring is three quarters transparent and whose
// next ring is a quarter transparent.
HICON SoftEdgedIcon(int size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int ring = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
            const uint32_t alpha = ring == 0 ? 64 : ring == 1 ? 192 : 255;
            pixels[y * size + x] = alpha << 24 | 0xFFFFFF;
        }
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO icon{TRUE, 0, 0, mask, colour};
    HICON made = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(colour);
    return made;
}

TEST_F(WinSkinForm, TheWindowsIconShowsWithoutAFringeOfTheKeyColour) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    HICON icon = SoftEdgedIcon(size);
    FrameTestWindows::Instance();
    HWND h = CreateWindowExA(0, FrameTestWindows::ClassName, "icon", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ShowFramed(h);
    TBitmap& shown = FrameOf(h)->IconBitmap;
    ASSERT_EQ(shown.Width(), size);
    int wrong = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int ring = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
            const TColor expected = ring == 0 ? TColor{0xFF00FF} : TColor{0xFFFFFF};
            wrong += shown.Canvas()->Pixel(x, y) != expected;
        }
    EXPECT_EQ(wrong, 0);
    DestroyWindow(h);
    DestroyIcon(icon);
}

TEST_F(WinSkinForm, WithItsSkinGoneTheFramePassesEverythingOn) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    TWinSkinForm* frame = FrameOf(h);
    skin.reset();
    EXPECT_EQ(frame->SkinData, nullptr);
    EXPECT_TRUE(frame->SysButtons.empty()) << "the buttons showed the component's records";
    const RECT r = WindowRect(h);
    // The platform's own answers now: nothing drawn answers for the rows
    // below its caption.
    EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(r.left + 150, r.top + T - 1)), HTNOWHERE);
    SendMessageA(h, SkinMsgRepaint, 0, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageA(h, WM_NCACTIVATE, FALSE, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(h));
}

TEST_F(WinSkinForm, AWindowClosedByItsOwnCloseButtonLeavesNoFrame) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    const RECT r = WindowRect(h);
    MoveMouse(POINT{r.right - 22 + 9, r.top + 4 + 7});
    MouseClicks(1);
    ASSERT_TRUE(PumpUntil([h] { return !IsWindow(h); }));
    EXPECT_EQ(FrameOf(h), nullptr);
    EXPECT_TRUE(SkinManager->Frames().empty());
}

// ------------------------------------------------------- message boxes

// A dialog of the system's class with two buttons side by side and a
// caption much wider than the box.
HWND MakeNarrowDialog(const char* caption) {
    struct Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title[1];
        DLGITEMTEMPLATE first;  // on a 4-byte boundary: 18 + 3 x 2 bytes
        WORD firstClass[2], firstTitle[1], firstData;
        WORD pad;  // the next item on a 4-byte boundary
        DLGITEMTEMPLATE second;
        WORD secondClass[2], secondTitle[1], secondData;
    };
    alignas(4) Template t{};
    t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.dialog.cdit = 2;
    t.dialog.cx = 90;
    t.dialog.cy = 40;
    t.first.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    t.first.x = 5;
    t.first.y = 20;
    t.first.cx = 35;
    t.first.cy = 14;
    t.first.id = IDOK;
    t.firstClass[0] = 0xFFFF;
    t.firstClass[1] = 0x0080;
    t.second = t.first;
    t.second.x = 48;
    t.second.id = IDCANCEL;
    t.secondClass[0] = 0xFFFF;
    t.secondClass[1] = 0x0080;
    HWND h = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &t.dialog, nullptr,
                                        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    SetWindowTextA(h, caption);
    return h;
}

std::vector<HWND> Children(HWND h) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(h, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

int SpaceWidthOfCaptionFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32A(dc, " ", 1, &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return extent.cx;
}

TEST_F(WinSkinForm, AMessageBoxIsWidenedToItsCaptionAndItsControlsMoveAlong) {
    const std::string caption = "A caption far wider than the two buttons of this box";
    HWND h = MakeNarrowDialog(caption.c_str());
    ASSERT_NE(h, nullptr);
    const std::vector<HWND> before = Children(h);
    ASSERT_EQ(before.size(), 2u);
    std::vector<RECT> places;
    for (HWND c : before) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(HWND_DESKTOP, h, reinterpret_cast<POINT*>(&r), 2);
        places.push_back(r);
    }
    const int clientWidth = ClientSize(h).cx;
    const int need = (static_cast<int>(caption.size()) + 7) * SpaceWidthOfCaptionFont() + L + R + ts::Title.TextShift +
                     ts::Title.TextRightClip + ts::Title.TXTBackleft + ts::Title.TXTBackRight;
    const int w = clientWidth + L + R;
    ASSERT_GT(need, w) << "the caption must be the wider";
    const int shift = (need - w) / 2;

    ShowFramed(h);
    const RECT framed = WindowRect(h);
    EXPECT_EQ(framed.right - framed.left, need);
    const std::vector<HWND> after = Children(h);
    EXPECT_EQ(after, before) << "the order of the controls is kept";
    for (size_t i = 0; i < after.size(); ++i) {
        RECT r{};
        GetWindowRect(after[i], &r);
        MapWindowPoints(HWND_DESKTOP, h, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, places[i].left + shift) << "control " << i;
        EXPECT_EQ(r.top, places[i].top) << "control " << i;
        EXPECT_EQ(r.right - r.left, places[i].right - places[i].left) << "control " << i;
    }
    DestroyWindow(h);
}

TEST_F(WinSkinForm, AMessageBoxAsWideAsItsCaptionKeepsItsWidth) {
    HWND h = MakeNarrowDialog("Box");
    const int clientWidth = ClientSize(h).cx;
    ShowFramed(h);
    const RECT framed = WindowRect(h);
    EXPECT_EQ(framed.right - framed.left, clientWidth + L + R);
    DestroyWindow(h);
}

// ------------------------------------------------------------------ MDI

struct MdiWindows {
    static inline HWND client = nullptr;
    static LRESULT CALLBACK FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_CREATE) {
            CLIENTCREATESTRUCT ccs{nullptr, 1000};
            client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0,
                                     0, 100, 100, h, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), &ccs);
            return 0;
        }
        return DefFrameProcA(h, client, m, w, l);
    }
    static LRESULT CALLBACK ChildProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefMDIChildProcA(h, m, w, l); }
    MdiWindows() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = "PellixMdiFrameTest";
        RegisterClassA(&wc);
        wc.lpfnWndProc = ChildProc;
        wc.lpszClassName = "PellixMdiChildTest";
        RegisterClassA(&wc);
    }
};

TEST_F(WinSkinForm, AnMdiFrameAndItsChildrenAreFramedAsTheirRolesSay) {
    static MdiWindows classes;
    HWND frameWindow =
        ShowWindowOfClass("PellixMdiFrameTest", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, RECT{50, 50, 650, 500});
    TWinSkinForm* frame = FrameOf(frameWindow);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->MdiState, msMdiFrame);
    EXPECT_EQ(frame->MdiClient, MdiWindows::client);
    EXPECT_EQ(SkinManager->MdiClientWindow, MdiWindows::client);

    MDICREATESTRUCTA create{};
    create.szClass = "PellixMdiChildTest";
    create.szTitle = "Child";
    create.hOwner = GetModuleHandleA(nullptr);
    create.x = create.y = 10;
    create.cx = 240;
    create.cy = 160;
    create.style = WS_OVERLAPPEDWINDOW;
    const auto child = reinterpret_cast<HWND>(
        SendMessageA(MdiWindows::client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    ASSERT_NE(child, nullptr);
    // The new child is framed once the client refreshes its menu.
    SendMessageA(MdiWindows::client, WM_MDIREFRESHMENU, 0, 0);
    WaitStarted(child);
    ASSERT_NE(FrameOf(child), nullptr);
    EXPECT_EQ(FrameOf(child)->MdiState, msMdiChild);
    EXPECT_EQ(ClientOrigin(child).x, L);
    EXPECT_EQ(ClientOrigin(child).y, T);
    EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & kBoxes, 0);

    EXPECT_FALSE(frame->IsActiveMdiChildMaximized());
    frame->MdiChildCommand(SC_MAXIMIZE);
    PumpMessages();
    EXPECT_TRUE(frame->IsActiveMdiChildMaximized());
    EXPECT_EQ(FrameOf(child)->ShowState, 1);
    frame->MdiChildCommand(SC_RESTORE);
    PumpMessages();
    EXPECT_FALSE(frame->IsActiveMdiChildMaximized());
    frame->MdiChildCommand(SC_MINIMIZE);
    PumpMessages();
    EXPECT_TRUE(IsIconic(child));
    frame->MdiChildCommand(SC_CLOSE);
    PumpMessages();
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(FrameOf(child), nullptr);
}

}  // namespace
}  // namespace pellix::test
