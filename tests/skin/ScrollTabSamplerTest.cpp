// The scroll bars, tab controls on all four sides, the list header and the
// tab set in the test skin and in each of the program's own skins: every
// control changes its look once skinned and gets its own look back when the
// skins are dropped.
//
// With PELLIX_SAMPLER_HOLD_MS set, each skinned sampler stays on the screen
// that long (messages pumped) so that a screenshot can be taken of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/ListView.h"
#include "framework/ScrollBar.h"
#include "framework/TabControls.h"
#include "framework/Tabs.h"
#include "skin/SkinScrollBars.h"
#include "skin/SkinTabs.h"
#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

// The controls of the sampler, made on a plain form.
struct TScrollTabSampler {
    std::unique_ptr<TForm, ComponentFree> Form{new TForm(nullptr)};
    TPageControl* Pages[4] = {};
    TCustomListView* List = nullptr;
    TListBox* ListBox = nullptr;
    TMemo* Memo = nullptr;
    TScrollBar* HorzBar = nullptr;
    TScrollBar* VertBar = nullptr;
    TTabSet* TabSet = nullptr;
    HWND RawTabs = nullptr;  // destroyed with the form

    TScrollTabSampler() {
        Form->SetBounds(20, 20, 760, 560);
        Form->SetCaption("Scroll and tab sampler");
        Form->Show();
        static const char* const sheets[] = {"General", "Pictures", "Output"};
        for (int side = 0; side < 4; ++side) {
            auto* pages = new TPageControl(Form.get());
            pages->SetTabPosition(static_cast<TTabPosition>(side));
            pages->SetBounds(10 + 245 * (side % 2), 10 + 150 * (side / 2), 235, 140);
            pages->SetParent(Form.get());
            for (const char* caption : sheets) {
                auto* sheet = new TTabSheet(Form.get());
                sheet->SetCaption(caption);
                sheet->SetPageControl(pages);
            }
            pages->SetActivePage(pages->Pages(1));
            Pages[side] = pages;
        }
        List = new TListView(Form.get());
        List->SetBounds(500, 10, 240, 140);
        List->SetParent(Form.get());
        List->AddColumn("Name", 90);
        List->AddColumn("Size", 60, TAlignment::taRightJustify);
        List->AddColumn("Kind", 60, TAlignment::taCenter);
        for (int i = 0; i < 30; ++i) List->AddItem("Picture " + std::to_string(i));

        ListBox = new TListBox(Form.get());
        ListBox->SetBounds(500, 160, 240, 140);
        ListBox->SetParent(Form.get());
        for (int i = 0; i < 80; ++i) ListBox->Items().Add("A picture file of the folder, number " + std::to_string(i));
        SendMessageA(ListBox->Handle(), LB_SETHORIZONTALEXTENT, 400, 0);

        Memo = new TMemo(Form.get());
        Memo->WordWrap = false;
        Memo->ScrollBars = TScrollStyle::ssBoth;
        Memo->SetBounds(10, 310, 300, 150);
        Memo->SetParent(Form.get());
        std::string text;
        for (int i = 0; i < 40; ++i) text += "<img src=\"thumbnail" + std::to_string(i) + ".jpg\" alt=\"a picture\">\r\n";
        Memo->SetTextValue(text);

        HorzBar = new TScrollBar(Form.get());
        HorzBar->SetBounds(330, 310, 220, GetSystemMetrics(SM_CYHSCROLL));
        HorzBar->SetParent(Form.get());
        HorzBar->SetParams(30, 0, 100);
        HorzBar->SetPageSize(20);
        VertBar = new TScrollBar(Form.get());
        VertBar->SetKind(TScrollBarKind::sbVertical);
        VertBar->SetBounds(570, 310, GetSystemMetrics(SM_CXVSCROLL), 150);
        VertBar->SetParent(Form.get());
        VertBar->SetParams(70, 0, 100);

        // Tabs that do not fit: the control shows its scroll arrows.
        EnsureCommonControls();
        RawTabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 330, 340, 230, 120,
                                  Form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(RawTabs, WM_SETFONT, reinterpret_cast<WPARAM>(Form->Font()->Handle()), FALSE);
        for (int i = 0; i < 8; ++i) {
            std::string caption = "Folder " + std::to_string(i + 1);
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageA(RawTabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }

        // Tabs that do not fit: the tab set shows its scroller.
        TabSet = new TTabSet(Form.get());
        TabSet->SetBounds(10, 480, 330, 21);
        TabSet->SetParent(Form.get());
        for (const char* tab : {"Batch", "Single picture", "Gallery", "Output folder", "Settings", "Help", "About"})
            TabSet->Tabs().Add(tab);
        TabSet->SetTabIndex(1);
        PumpMessages();
    }

    // Every control and where it is on the form's window.
    std::vector<std::pair<std::string, RECT>> Regions() const {
        RECT form;
        GetWindowRect(Form->Handle(), &form);
        std::vector<std::pair<std::string, RECT>> regions;
        auto add = [&](const std::string& name, TWinControl* control) {
            RECT r;
            GetWindowRect(control->Handle(), &r);
            OffsetRect(&r, -form.left, -form.top);
            regions.push_back({name, r});
        };
        for (int side = 0; side < 4; ++side) add("page control " + std::to_string(side), Pages[side]);
        add("list view", List);
        add("list box", ListBox);
        add("memo", Memo);
        add("horizontal scroll bar", HorzBar);
        add("vertical scroll bar", VertBar);
        add("tab set", TabSet);
        RECT r;
        GetWindowRect(RawTabs, &r);
        OffsetRect(&r, -form.left, -form.top);
        regions.push_back({"raw tab control", r});
        return regions;
    }

    // The skins as the control walk gives them.
    void Skin(TSkinData* data, TTestHost& host) {
        Form->SetColor(data->ButtonFaceColour);
        std::vector<HWND> tabs{RawTabs};
        for (TPageControl* pages : Pages) tabs.push_back(pages->Handle());
        for (HWND h : tabs) {
            auto* skin = new TSkinTab(&host);
            skin->AttachHandle(h, data, &host.ControlCanvas);
            host.ControlSkins.push_back(skin);
        }
        (new TSkinListView(&host))->AttachControl(List, data, false, &host.ControlCanvas);
        (new TSkinScrollBar(&host))->AttachScrollControl(ListBox, data, true, &host.ControlCanvas);
        (new TSkinScrollBar(&host))->AttachScrollControl(Memo, data, true, &host.ControlCanvas);
        (new TSkinScControl(&host))->AttachControl(HorzBar, data, false, &host.ControlCanvas);
        (new TSkinScControl(&host))->AttachControl(VertBar, data, false, &host.ControlCanvas);
        (new TSkinTab31(&host))->AttachControl(TabSet, data, false, &host.ControlCanvas);
    }
};

int Changed(const TWindowPicture& a, const TWindowPicture& b, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += a.At(x, y) != b.At(x, y);
    return n;
}

void HoldForScreenshot(const std::string& skin) {
    const char* hold = std::getenv("PELLIX_SAMPLER_HOLD_MS");
    if (hold == nullptr) return;
    printf("[ sampler  ] scroll-tabs-%s\n", skin.c_str());
    fflush(stdout);
    PumpUntil([] { return false; }, std::chrono::milliseconds(std::atoi(hold)));
}

class ScrollTabSamplerTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ScrollTabSamplerTest, EveryControlChangesItsLookSkinnedAndGetsItBack) {
    const std::string resource = GetParam();
    auto skin = resource == "TEST" ? LoadTestSkin() : LoadBuiltinSkin(resource);
    SetCursorPos(1270, 1010);
    TScrollTabSampler sampler;
    const TColor ownColour = sampler.Form->Color();
    Repaint(sampler.Form->Handle());
    const TWindowPicture before(sampler.Form->Handle());

    auto host = std::make_unique<TTestHost>();
    sampler.Skin(skin.get(), *host);
    Repaint(sampler.Form->Handle());
    const TWindowPicture skinned(sampler.Form->Handle());
    const auto regions = sampler.Regions();
    for (const auto& [name, rect] : regions)
        EXPECT_GT(Changed(before, skinned, rect), 0) << name << " looks as it did unskinned";
    HoldForScreenshot(resource);

    host.reset();
    sampler.Form->SetColor(ownColour);
    PumpMessages();
    Repaint(sampler.Form->Handle());
    const TWindowPicture after(sampler.Form->Handle());
    for (const auto& [name, rect] : regions)
        EXPECT_EQ(Changed(before, after, rect), 0) << name << " kept some of the skin";
}

INSTANTIATE_TEST_SUITE_P(Skins, ScrollTabSamplerTest,
                         ::testing::Values("TEST", "BLUE_SKN", "SILVER_SKN", "GREEN_SKN", "BUILTIN_SKN"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace pellix::test
