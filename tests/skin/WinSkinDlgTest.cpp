// The skin manager with real windows and pumped messages: which windows the
// hook skins, the actions the skin data components schedule, the lists it
// keeps, and its end.
#include "skin/WinSkinDlg.h"

#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Dialogs.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinStore.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Pump.h"
#include "tests/skin/SkinArchives.h"
#include "tests/skin/SkinDataForm.h"

namespace pellix {
namespace {

using namespace std::chrono_literals;

constexpr UINT kSpyMessage = WM_APP + 5;

struct WindowFree {
    void operator()(HWND window) const {
        if (IsWindow(window)) DestroyWindow(window);
    }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowFree>;
using FormPtr = std::unique_ptr<TForm, ComponentFree>;
using DataPtr = std::unique_ptr<TSkinData, ComponentFree>;

LRESULT CALLBACK RawProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterRawClass(const char* name) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &RawProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

bool Skinned(HWND window) { return SendMessageA(window, SkinMsgQuery, 0, 0) == 1; }

// Sees every message of a window before anything the window's own procedure
// sets off, for as long as it lives.
class RawSpy {
public:
    using TSeen = std::function<void(UINT msg, LPARAM lParam)>;
    RawSpy(HWND window, TSeen seen) : window_(window), seen_(std::move(seen)) {
        SetPropA(window_, kProp, this);
        old_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~RawSpy() {
        if (!IsWindow(window_)) return;
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        RemovePropA(window_, kProp);
    }
    RawSpy(const RawSpy&) = delete;
    RawSpy& operator=(const RawSpy&) = delete;

private:
    static constexpr const char* kProp = "PellixTestRawSpy";
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<RawSpy*>(GetPropA(hwnd, kProp));
        const WNDPROC old = self->old_;
        self->seen_(msg, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
            RemovePropA(hwnd, kProp);
        }
        return CallWindowProcA(old, hwnd, msg, wParam, lParam);
    }

    HWND window_;
    TSeen seen_;
    WNDPROC old_ = nullptr;
};

void Wait(std::chrono::milliseconds time) { test::PumpUntil([] { return false; }, time); }

// A main skin data component made in code, switched on before any window
// was activated, and the forms and windows a test makes.
class SkinManagerTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"PellixRawTop", "TApplication", "PellixVetoed"}) RegisterRawClass(name);
        Application->OnShowException = [this](const std::string& text) { errors.push_back(text); };
        MessageBoxHook = [this](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(text);
            return 1;
        };
        main = NewData(0);
        main->OnSkinChanged = [this](TObject*) { ++mainChanges; };
        main->FinishLoading();
        main->SetActive(true);
    }
    void TearDown() override {
        raws.clear();
        forms.clear();
        datas.clear();
        Application->OnShowException = nullptr;
        MessageBoxHook = nullptr;
    }

    // Parsed; owned by the test unless a form owns it.
    TSkinData* NewData(int variant, TSkinFormType type = sfMainform, TComponent* owner = nullptr) {
        auto* data = new TSkinData(owner);
        if (owner == nullptr) datas.emplace_back(data);
        data->SkinFormtype = type;
        testskin::FillStream(data->SkinStream, test::VariantSkin(variant));
        EXPECT_TRUE(data->LoadSkinStream());
        return data;
    }
    TForm* NewForm() {
        forms.emplace_back(new TForm(nullptr));
        TForm* form = forms.back().get();
        form->SetBounds(60 + 20 * static_cast<int>(forms.size()), 60, 300, 200);
        form->HandleNeeded();
        return form;
    }
    TForm* ShowForm() {
        TForm* form = NewForm();
        form->Show();
        test::PumpMessages();
        return form;
    }
    HWND NewRaw(const char* className, int width, int height, DWORD style = WS_POPUP | WS_CAPTION, HWND parent = nullptr) {
        raws.emplace_back(CreateWindowExA(0, className, "raw", style, 100, 100, width, height, parent, nullptr,
                                          GetModuleHandleA(nullptr), nullptr));
        EXPECT_NE(raws.back().get(), nullptr) << className;
        return raws.back().get();
    }
    // A form turned into a plain child window of a hidden top-level window.
    TForm* NewChildForm() {
        HWND parent = NewRaw("PellixRawTop", 400, 300, WS_OVERLAPPEDWINDOW);
        TForm* form = NewForm();
        HWND child = form->Handle();
        SetWindowLongA(child, GWL_STYLE, (GetWindowLongA(child, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
        SetParent(child, parent);
        return form;
    }

    TSkinManage& Manager() { return *SkinManager; }
    TWinSkinForm* FrameOf(HWND window) {
        for (const auto& frame : Manager().Frames())
            if (frame->Window == window) return frame.get();
        return nullptr;
    }
    bool WaitForChanges(const int& counter, int expected) {
        const bool reached = test::PumpUntil([&] { return counter >= expected; }, 3s);
        Wait(400ms);  // and no further event
        return reached && counter == expected;
    }

    std::vector<std::string> errors, messages;
    int mainChanges = 0;
    TSkinData* main = nullptr;
    std::vector<DataPtr> datas;
    std::vector<FormPtr> forms;
    std::vector<Window> raws;
};

TEST_F(SkinManagerTest, ActivationGivesATopLevelFormItsFrameAndStartsIt) {
    TForm* form = NewForm();
    std::vector<LPARAM> starts;
    // In front of the window's procedure: the frame answers the start itself.
    RawSpy spy(form->Handle(), [&](UINT msg, LPARAM lParam) {
        if (msg == SkinMsgStart) starts.push_back(lParam);
    });
    form->Show();
    test::PumpMessages();

    EXPECT_EQ(Manager().ActivationCount, 1);
    ASSERT_EQ(Manager().Frames().size(), 1u);
    const TWinSkinForm& frame = *Manager().Frames().front();
    EXPECT_EQ(frame.Window, form->Handle());
    EXPECT_EQ(frame.Form, form);
    EXPECT_EQ(frame.SkinData, main);
    EXPECT_EQ(frame.SysButtons.size(), test::CaptionButtonRecords());
    EXPECT_TRUE(Skinned(form->Handle()));
    EXPECT_EQ(starts, (std::vector<LPARAM>{1000}));

    EXPECT_FALSE(Manager().SkinWindow(form->Handle())) << "a second frame";
    EXPECT_EQ(Manager().Frames().size(), 1u);
    forms.clear();
    EXPECT_TRUE(Manager().Frames().empty());
}

struct WindowCase {
    const char* name;
    std::function<HWND(SkinManagerTest&)> make;
    bool skinned;
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

class SkinWindowTests : public SkinManagerTest, public testing::WithParamInterface<WindowCase> {
public:
    static TForm* MakeForm(SkinManagerTest& t) { return static_cast<SkinWindowTests&>(t).NewForm(); }
    static HWND MakeRaw(SkinManagerTest& t, const char* cls, int w, int h) {
        return static_cast<SkinWindowTests&>(t).NewRaw(cls, w, h);
    }
    static TForm* MakeChildForm(SkinManagerTest& t) { return static_cast<SkinWindowTests&>(t).NewChildForm(); }
    static TSkinData* Main(SkinManagerTest& t) { return static_cast<SkinWindowTests&>(t).main; }
};

TEST_P(SkinWindowTests, WindowIsSkinnedOnlyWhenEveryTestPasses) {
    HWND window = GetParam().make(*this);
    EXPECT_EQ(Manager().SkinWindow(window), GetParam().skinned);
    EXPECT_EQ(Manager().Frames().size(), GetParam().skinned ? 1u : 0u);
    if (window != nullptr) EXPECT_EQ(Skinned(window), GetParam().skinned);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinWindowTests,
    testing::Values(
        WindowCase{"TopLevelForm", [](SkinManagerTest& t) { return SkinWindowTests::MakeForm(t)->Handle(); }, true},
        WindowCase{"RawTopLevelWindow", [](SkinManagerTest& t) { return SkinWindowTests::MakeRaw(t, "PellixRawTop", 120, 80); },
                   true},
        WindowCase{"NoWindow", [](SkinManagerTest&) { return HWND(nullptr); }, false},
        WindowCase{"FormTagged99",
                   [](SkinManagerTest& t) {
                       TForm* form = SkinWindowTests::MakeForm(t);
                       form->Tag = 99;
                       SkinWindowTests::Main(t)->DisableTag = 5;
                       return form->Handle();
                   },
                   false},
        WindowCase{"ZeroWidth", [](SkinManagerTest& t) { return SkinWindowTests::MakeRaw(t, "PellixRawTop", 0, 80); }, false},
        WindowCase{"ZeroHeight", [](SkinManagerTest& t) { return SkinWindowTests::MakeRaw(t, "PellixRawTop", 120, 0); }, false},
        WindowCase{"ChildForm", [](SkinManagerTest& t) { return SkinWindowTests::MakeChildForm(t)->Handle(); }, false},
        WindowCase{"ApplicationWindow", [](SkinManagerTest& t) { return SkinWindowTests::MakeRaw(t, "TApplication", 120, 80); },
                   false},
        WindowCase{"ClassVetoedByTheMainComponent",
                   [](SkinManagerTest& t) {
                       SkinWindowTests::Main(t)->OnFormSkin = [](TObject*, const std::string& name, bool& doSkin) {
                           doSkin = name != "PellixVetoed";
                       };
                       return SkinWindowTests::MakeRaw(t, "PellixVetoed", 120, 80);
                   },
                   false},
        WindowCase{"SkinNotParsed",
                   [](SkinManagerTest& t) {
                       SkinWindowTests::Main(t)->SkinUnparsed = true;
                       return SkinWindowTests::MakeForm(t)->Handle();
                   },
                   false},
        WindowCase{"SkinningSwitchedOff",
                   [](SkinManagerTest& t) {
                       SkinManager->SkinningEnabled = false;
                       return SkinWindowTests::MakeForm(t)->Handle();
                   },
                   false}),
    [](const testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

TEST_F(SkinManagerTest, ZeroSizedWindowIsSkinnedOnALaterActivationOnceItHasASize) {
    HWND window = NewRaw("PellixRawTop", 0, 0, WS_POPUP);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    test::PumpMessages();
    EXPECT_EQ(Manager().ActivationCount, 1);
    EXPECT_FALSE(Manager().IsSkinnedFrame(window));

    SetWindowPos(window, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowForm();
    SetForegroundWindow(window);
    test::PumpMessages();
    EXPECT_TRUE(Manager().IsSkinnedFrame(window));
}

// Wine sends no destroy notice for a child destroyed with its parent: the
// frame leaves the list when the window ends.
TEST_F(SkinManagerTest, ChildFormIsSkinnedOnlyBySwitchingOnAndLeavesWithItsParent) {
    ShowForm();
    TForm* child = NewChildForm();
    HWND childWindow = child->Handle();
    SetForegroundWindow(childWindow);
    test::PumpMessages();
    EXPECT_FALSE(Manager().IsSkinnedFrame(childWindow));

    main->SetActive(false);
    main->SetActive(true);
    ASSERT_TRUE(WaitForChanges(mainChanges, 1));
    EXPECT_TRUE(Manager().IsSkinnedFrame(childWindow));
    EXPECT_FALSE(Manager().BulkSkinning);
    EXPECT_EQ(Manager().Frames().size(), 2u);

    DestroyWindow(GetParent(childWindow));
    test::PumpMessages();
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_FALSE(Manager().IsSkinnedFrame(childWindow));
    EXPECT_EQ(Manager().Frames().size(), 1u);
}

TEST_F(SkinManagerTest, ScrollBarChildIsRefusedOnlyUnderASkinnedWindow) {
    TForm* form = ShowForm();
    ASSERT_TRUE(Skinned(form->Handle()));
    HWND plain = NewRaw("PellixRawTop", 200, 100);
    for (HWND parent : {form->Handle(), plain}) {
        HWND bar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 80, 16, parent, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        EXPECT_EQ(bar != nullptr, parent == plain);
        if (bar != nullptr) DestroyWindow(bar);
    }
}

TEST_F(SkinManagerTest, NothingIsReportedBeforeTheFirstActivation) {
    main->ApplySkin();
    main->SetActive(false);
    main->SetActive(true);
    Wait(400ms);
    EXPECT_EQ(mainChanges, 0);
    EXPECT_FALSE(Manager().ActionTimer()->Enabled());
    EXPECT_TRUE(Manager().SkinningEnabled);

    TForm* form = ShowForm();
    EXPECT_TRUE(Skinned(form->Handle()));
    Wait(400ms);
    EXPECT_EQ(mainChanges, 0);
}

TEST_F(SkinManagerTest, TwoSwitchesWithinTheIntervalRunOnlyTheLast) {
    TForm* form = NewForm();
    int starts = 0;
    RawSpy spy(form->Handle(), [&](UINT msg, LPARAM) { starts += msg == SkinMsgStart; });
    form->Show();
    test::PumpMessages();
    ASSERT_EQ(starts, 1);

    main->SetActive(false);
    main->SetActive(true);
    EXPECT_TRUE(WaitForChanges(mainChanges, 1));
    EXPECT_TRUE(Skinned(form->Handle()));
    EXPECT_EQ(starts, 1) << "the frame was never dropped and made again";
    EXPECT_FALSE(Manager().ActionTimer()->Enabled());
    forms.clear();
}

TEST_F(SkinManagerTest, ActionScheduledByTheEventHandlerRunsToo) {
    ShowForm();
    main->OnSkinChanged = [this](TObject*) {
        if (++mainChanges == 1) main->ApplySkin();
    };
    main->ApplySkin();
    EXPECT_TRUE(WaitForChanges(mainChanges, 2));
    EXPECT_EQ(Manager().PendingSkinData, nullptr);
    EXPECT_FALSE(Manager().ActionTimer()->Enabled());

    // A tick with nothing pending stops the timer.
    Manager().ActionTimer()->SetEnabled(true);
    EXPECT_TRUE(test::PumpUntil([this] { return !Manager().ActionTimer()->Enabled(); }, 2s));
    EXPECT_EQ(mainChanges, 2);
}

TEST_F(SkinManagerTest, LoadedActiveComponentIsSwitchedOnOnceAWindowWasActivated) {
    ShowForm();
    test::SkinDataFormPtr holder = test::LoadSkinDataForm("    Active = True\n    OnSkinChanged = SkinChanged\n" +
                                                          test::StoredSkinLine(test::VariantSkin(1)));
    EXPECT_EQ(Manager().PendingSkinData, holder->SkinData1());
    EXPECT_TRUE(WaitForChanges(holder->changes, 1));
    EXPECT_EQ(mainChanges, 0);
}

TEST_F(SkinManagerTest, FreeingThePendingComponentCancelsItsAction) {
    ShowForm();
    TSkinData* extra = NewData(1);
    extra->FinishLoading();
    int extraChanges = 0;
    extra->OnSkinChanged = [&](TObject*) { ++extraChanges; };
    extra->ApplySkin();
    ASSERT_EQ(Manager().PendingSkinData, extra);
    datas.pop_back();
    EXPECT_EQ(Manager().PendingSkinData, nullptr);
    EXPECT_FALSE(Manager().ActionTimer()->Enabled());
    Wait(400ms);
    EXPECT_EQ(extraChanges, 0);
    EXPECT_EQ(mainChanges, 0);
}

TEST_F(SkinManagerTest, OwnFormComponentDropsOnlyItsFrameAndTheMainOneDropsEvery) {
    TForm* first = ShowForm();
    TForm* second = NewForm();
    TSkinData* own = NewData(1, sfOnlyThisForm, second);
    int ownChanges = 0;
    own->OnSkinChanged = [&](TObject*) { ++ownChanges; };
    own->FinishLoading();
    ASSERT_NE(FrameOf(second->Handle()), nullptr) << "its form is skinned as it loads";
    EXPECT_EQ(FrameOf(second->Handle())->SkinData, own);
    EXPECT_EQ(FrameOf(first->Handle())->SkinData, main);

    own->SetActive(true);
    ASSERT_TRUE(WaitForChanges(ownChanges, 1));
    own->SetActive(false);
    ASSERT_TRUE(WaitForChanges(ownChanges, 2));
    EXPECT_EQ(FrameOf(second->Handle()), nullptr);
    EXPECT_NE(FrameOf(first->Handle()), nullptr);
    EXPECT_FALSE(Skinned(second->Handle()));

    own->SetActive(true);
    ASSERT_TRUE(WaitForChanges(ownChanges, 3));
    ASSERT_NE(FrameOf(second->Handle()), nullptr);
    main->SetActive(false);
    ASSERT_TRUE(WaitForChanges(mainChanges, 1));
    EXPECT_TRUE(Manager().Frames().empty());
    EXPECT_FALSE(Manager().SkinningEnabled);
    EXPECT_FALSE(Skinned(first->Handle()));
    EXPECT_FALSE(Skinned(second->Handle()));
}

TEST_F(SkinManagerTest, EachWindowGetsTheComponentThatServesIt) {
    TForm* plain = NewForm();
    std::unique_ptr<TMessageForm, ComponentFree> box(new TMessageForm(nullptr, "Hello", TMsgDlgType::mtInformation, mbOK));
    HWND systemDialog = NewRaw("#32770", 120, 80);
    EXPECT_EQ(Manager().ChooseSkinData(box->Handle()), main);

    TSkinData* dialog = NewData(1, sfDialog);
    dialog->FinishLoading();
    EXPECT_EQ(Manager().ChooseSkinData(box->Handle()), dialog);
    EXPECT_EQ(Manager().ChooseSkinData(systemDialog), dialog);
    EXPECT_EQ(Manager().ChooseSkinData(plain->Handle()), main);

    TSkinData* own = NewData(1, sfOnlyThisForm, plain);
    own->FinishLoading();
    TSkinData* ownLater = NewData(0, sfOnlyThisForm, plain);
    ownLater->FinishLoading();
    EXPECT_EQ(Manager().ChooseSkinData(plain->Handle()), ownLater);

    // Without a main component the first listed serves the rest.
    Manager().RemoveSkinData(main);
    EXPECT_EQ(Manager().ChooseSkinData(NewRaw("PellixRawTop", 50, 50)), dialog);
    EXPECT_TRUE(Manager().CanSkinWindowClass("PellixVetoed"));
    Manager().AddSkinData(main);
}

TEST_F(SkinManagerTest, SkinChangeRebuildsOnlyItsOwnFramesAndSurvivesABadBitmap) {
    TForm* first = ShowForm();
    TForm* second = NewForm();
    NewData(1, sfOnlyThisForm, second)->FinishLoading();
    ASSERT_NE(FrameOf(first->Handle()), nullptr);
    ASSERT_NE(FrameOf(second->Handle()), nullptr);

    TSkinStore store(nullptr);
    for (const test::Bytes& archive : {test::BadBitmapSkin(), test::VariantSkin(1)})
        testskin::FillStream(static_cast<TSkinCollectionItem*>(store.Store()->Add())->ItemStream, archive);

    EXPECT_THROW(main->LoadSkinFromStore(&store, 0), EInvalidGraphic);
    // The parse made new caption-button records: no frame of this component
    // may still hold buttons of the old ones.
    EXPECT_EQ(FrameOf(first->Handle())->SysButtons.size(), 0u);
    EXPECT_EQ(FrameOf(second->Handle())->SysButtons.size(), test::CaptionButtonRecords());
    RedrawWindow(first->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Wait(400ms);
    EXPECT_EQ(mainChanges, 0);
    EXPECT_TRUE(Skinned(first->Handle()));

    main->LoadSkinFromStore(&store, 1);
    EXPECT_TRUE(WaitForChanges(mainChanges, 1));
    EXPECT_EQ(main->ButtonFaceColour, test::FaceOf(1));
    EXPECT_EQ(FrameOf(first->Handle())->SysButtons.size(), test::CaptionButtonRecords());
}

TEST_F(SkinManagerTest, FrameThatCannotAttachIsUndoneAndItsErrorShown) {
    HWND window = NewRaw("PellixRawTop", 120, 80, WS_OVERLAPPEDWINDOW);
    TWindowSubclass other;
    ASSERT_TRUE(other.Attach(window, [&](UINT msg, WPARAM wParam, LPARAM lParam) { return other.CallOld(msg, wParam, lParam); }));
    EXPECT_THROW(Manager().SkinWindow(window), EComponentError);
    EXPECT_TRUE(Manager().Frames().empty());

    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    test::PumpMessages();
    EXPECT_TRUE(Manager().Frames().empty());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors.front(), "Cannot take over the window of a skinned frame.");
}

TEST_F(SkinManagerTest, EndOfTheEngineLeavesLiveWindowsUnskinnedAndRunsNoPendingAction) {
    TForm* form = NewForm();
    int spied = 0;
    TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == kSpyMessage) ++spied;
        previous(m);
    };
    form->Show();
    HWND raw = NewRaw("PellixRawTop", 120, 80);
    ASSERT_TRUE(Manager().SkinWindow(raw));
    ASSERT_TRUE(Skinned(form->Handle()));
    main->ApplySkin();

    ShutdownSkinEngine();
    EXPECT_EQ(SkinManager, nullptr);
    EXPECT_FALSE(Skinned(form->Handle()));
    EXPECT_FALSE(Skinned(raw));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(raw, GWLP_WNDPROC)), &RawProc);
    form->Perform(kSpyMessage, 0, 0);
    EXPECT_EQ(spied, 1) << "the form's procedure is its own again";
    Wait(400ms);
    EXPECT_EQ(mainChanges, 0);

    ShowForm();
    EXPECT_EQ(SkinManager, nullptr);
    forms.clear();
}

TEST_F(SkinManagerTest, WineSystemWindowsAreLeftAlone) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ShowForm();
    main->SetActive(false);
    main->SetActive(true);
    ASSERT_TRUE(WaitForChanges(mainChanges, 1));

    HWND ole = FindWindowExA(HWND_MESSAGE, nullptr, "OleMainThreadWndClass", nullptr);
    HWND ime = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) -> BOOL {
            if (test::ClassOf(hwnd) != "IME") return TRUE;
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&ime));
    ASSERT_NE(ole, nullptr);
    ASSERT_NE(ime, nullptr);
    for (HWND window : {ole, ime}) {
        SCOPED_TRACE(test::ClassOf(window));
        EXPECT_FALSE(Skinned(window));
        EXPECT_FALSE(Manager().IsSkinnedFrame(window));
        EXPECT_FALSE(Manager().IsPopupSkinned(window));
    }
    EXPECT_EQ(Manager().Frames().size(), 1u);
    CoUninitialize();
    EXPECT_TRUE(errors.empty());
}

struct PopupCase {
    const char* name;
    bool mainMenu;  // xcMainMenu in SkinControls
};

void PrintTo(const PopupCase& c, std::ostream* os) { *os << c.name; }

class PopupMenuTests : public SkinManagerTest, public testing::WithParamInterface<PopupCase> {};

TEST_P(PopupMenuTests, MenuWindowHasAPopupSkinWhileShownWhenMenusAreSkinned) {
    const bool mainMenu = GetParam().mainMenu;
    if (!mainMenu) main->SkinControls &= ~SkinControlBit(xcMainMenu);
    TForm* form = ShowForm();
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "item");

    struct Seen {
        bool popupFound = false, skinned = false, listed = false, bitmapForNoMenu = true;
        TBitmap* bitmapForItsMenu = nullptr;
        TBitmap* itsBitmap = nullptr;
    } seen;
    std::unique_ptr<TTimer, ComponentFree> probe(new TTimer(nullptr));
    probe->SetInterval(50);
    probe->OnTimer = [&](TObject*) {
        HWND popup = FindWindowA("#32768", nullptr);
        if (popup == nullptr || !IsWindowVisible(popup)) return;
        probe->SetEnabled(false);
        seen.popupFound = true;
        seen.skinned = Skinned(popup);
        seen.listed = Manager().IsPopupSkinned(popup);
        seen.bitmapForNoMenu = Manager().FindPopupBitmap(nullptr) != nullptr;
        if (seen.listed) {
            TWinSkinPopMenu& skin = *Manager().PopupSkins().front();
            skin.MenuHandle = menu;
            seen.bitmapForItsMenu = Manager().FindPopupBitmap(menu);
            seen.itsBitmap = &skin.BackgroundBitmap;
        }
        EndMenu();
    };
    {
        test::LoopWatchdog watchdog(form->Handle());
        TrackPopupMenu(menu, TPM_LEFTALIGN, 120, 120, 0, form->Handle(), nullptr);
        EXPECT_FALSE(watchdog.Fired());
    }
    DestroyMenu(menu);

    ASSERT_TRUE(seen.popupFound);
    EXPECT_EQ(seen.skinned, mainMenu);
    EXPECT_EQ(seen.listed, mainMenu);
    EXPECT_FALSE(seen.bitmapForNoMenu) << "a popup whose menu is not known yet matches no menu";
    if (mainMenu) {
        EXPECT_EQ(seen.bitmapForItsMenu, seen.itsBitmap);
    }
    EXPECT_TRUE(Manager().PopupSkins().empty()) << "gone with its window";
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupMenuTests,
                         testing::Values(PopupCase{"MenusSkinned", true}, PopupCase{"MenusNotSkinned", false}),
                         [](const testing::TestParamInfo<PopupCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pellix
