// The main window's controls as a user sees them: pellix.exe started with a
// test skin of solid, known colours as "default.skn" on a fresh settings key,
// its controls read back from the screen skinned, after "&Unskin" and after
// "&Blue".
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "skin/SkinMessages.h"
#include "tests/harness/Files.h"
#include "tests/harness/Input.h"
#include "tests/harness/Program.h"
#include "tests/harness/Settings.h"
#include "tests/harness/WindowShot.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {
namespace {

namespace fs = std::filesystem;
namespace ts = testskin;

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";

template <class Pred>
bool WaitUntil(Pred done, DWORD ms = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
    return true;
}

// Every colour an element of the test skin shows, in any frame.
std::set<uint32_t> ElementColours(ts::TElement element) {
    std::set<uint32_t> colours;
    const ts::TLayout& layout = ts::Layout(element);
    for (int frame = 1; frame <= layout.Frames; ++frame)
        for (int piece = 0; piece <= static_cast<int>(ts::TPiece::BottomRight); ++piece)
            colours.insert(ts::PieceColour(element, frame, static_cast<ts::TPiece>(piece)));
    return colours;
}

class SkinnedControls : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder() + "pellix-e2e-controls-" + CurrentTestName();
        fs::remove_all(folder);
        fs::create_directories(folder);
        DeleteSettings();
        WriteBytes(folder + "\\default.skn", ts::TestSkin());
        // Pictures enough for the input list to need its scroll bar, in the
        // folder a first start shows.
        fs::create_directories(folder + "\\images");
        for (int i = 0; i < 40; ++i)
            WriteBytes(folder + "\\images\\picture" + std::to_string(i) + ".jpg", {0xFF, 0xD8});
        program = std::make_unique<Program>(folder);
        ASSERT_TRUE(program->Started());
        main = program->WaitForWindow(kCaption);
        ASSERT_NE(main, nullptr) << "no main window";
        SetForegroundWindow(main);
        ASSERT_TRUE(WaitUntil([&] { return Framed(); }));
        Settle();
    }
    void TearDown() override {
        if (program != nullptr) {
            PostMessageA(main, WM_CLOSE, 0, 0);
            DWORD code = 0;
            EXPECT_TRUE(program->WaitForExit(15000, code));
            program.reset();
        }
        DeleteSettings();
        fs::remove_all(folder);
    }

    bool Framed() const {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(main, SkinMsgQuery, 0, 0, SMTO_NORMAL, 5000, &answer) != 0 && answer == 1;
    }
    // Past the engine's action delay, everything painted.
    void Settle() const {
        Sleep(500);
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        WaitForPosted(main, 5000);
        Sleep(300);
    }
    void SkinsCommand(WORD letter) const {
        SetForegroundWindow(main);
        PressKey('O', true);
        PressKey('S');
        PressKey(letter);
    }

    // The controls of a class, in the order the window lists them.
    std::vector<Child> Of(const std::string& cls) const {
        std::vector<Child> found;
        for (const Child& c : Children(main))
            if (c.cls == cls && IsWindowVisible(c.hwnd)) found.push_back(c);
        return found;
    }
    static int Count(const PixelShot& shot, const std::set<uint32_t>& colours) {
        int n = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) n += colours.count(shot.At(x, y)) != 0;
        return n;
    }

    std::string folder;
    std::unique_ptr<Program> program;
    HWND main = nullptr;
};

// What the test skin shows on each kind of control, and the platform's look
// after "&Unskin"; every sampled control differs again under "&Blue".
TEST_F(SkinnedControls, ControlsShowTheSkinAndTheirOwnLookAfterUnskinAndTheSkinAgainAfterBlue) {
    const ts::TTestColours colours = ts::Colours();
    const std::set<uint32_t> buttonColours = ElementColours(ts::TElement::Buttons);
    const std::set<uint32_t> arrowColours = ElementColours(ts::TElement::UpDownVert);
    const std::set<uint32_t> comboColours = ElementColours(ts::TElement::ComboButton);
    std::set<uint32_t> barColours = ElementColours(ts::TElement::VertScroll);
    for (ts::TElement e : {ts::TElement::Scrollbar, ts::TElement::VertScrollThumb}) {
        const std::set<uint32_t> more = ElementColours(e);
        barColours.insert(more.begin(), more.end());
    }
    const std::vector<Child> buttons = Of("TButton"), edits = Of("TEdit"), spins = Of("TSpinEdit"),
                             panels = Of("TPanel"), groups = Of("TGroupBox"), drives = Of("TDriveComboBox"),
                             lists = Of("TListBox"), folders = Of("TDirectoryListBox");
    ASSERT_GE(buttons.size(), 4u);
    ASSERT_GE(edits.size(), 4u);
    ASSERT_EQ(spins.size(), 4u);
    ASSERT_EQ(panels.size(), 3u);
    ASSERT_EQ(groups.size(), 3u);
    ASSERT_EQ(drives.size(), 2u);
    ASSERT_EQ(lists.size(), 2u);
    ASSERT_EQ(folders.size(), 2u);
    ASSERT_EQ(ListItems(lists[0].hwnd).size(), 40u) << "the input list";
    // The lists whose scroll bars show: the folder lists and the input list.
    const std::vector<Child> scrolled = {folders[0], folders[1], lists[0]};

    // The arrows of a spin edit: its child window.
    auto arrows = [](const Child& spin) {
        RECT r{};
        GetWindowRect(GetWindow(spin.hwnd, GW_CHILD), &r);
        return PixelShot::OfScreen(r);
    };
    // A panel away from its picture, a group box below its last row of controls.
    auto panelPixel = [](const Child& c) { return PixelShot::OfScreen(c.rect).At(6, 6); };
    auto groupPixel = [](const Child& c) {
        const PixelShot shot = PixelShot::OfScreen(c.rect);
        return shot.At(shot.Width() / 2, shot.Height() - 5);
    };
    auto buttonEdge = [](const Child& c) {
        const PixelShot shot = PixelShot::OfScreen(c.rect);
        return shot.At(1, shot.Height() / 2);
    };

    {
        SCOPED_TRACE("skinned with the test skin");
        for (const Child& b : buttons) EXPECT_EQ(buttonColours.count(buttonEdge(b)), 1u) << b.text;
        for (const Child& e : edits) {
            const PixelShot shot = PixelShot::OfScreen(e.rect);
            EXPECT_EQ(shot.At(0, 0), colours.ButtonShadow) << e.text;
            EXPECT_EQ(shot.At(shot.Width() - 1, shot.Height() - 1), colours.ButtonShadow) << e.text;
        }
        for (const Child& s : spins) EXPECT_GT(Count(arrows(s), arrowColours), 0) << "spin arrows";
        for (const Child& p : panels) EXPECT_EQ(panelPixel(p), colours.ButtonFace) << "panel";
        for (const Child& g : groups) EXPECT_EQ(groupPixel(g), colours.ButtonFace) << g.text;
        for (const Child& d : drives) EXPECT_GT(Count(PixelShot::OfScreen(d.rect), comboColours), 0) << "drive combo";
        for (const Child& l : scrolled) EXPECT_GT(Count(PixelShot::OfScreen(l.rect), barColours), 0) << l.cls;
    }

    SkinsCommand('U');
    ASSERT_TRUE(WaitUntil([&] { return !Framed(); }));
    Settle();
    const uint32_t face = GetSysColor(COLOR_BTNFACE);
    std::vector<uint32_t> unskinned;  // one sample per control, for the comparison with Blue
    {
        SCOPED_TRACE("after Unskin");
        for (const Child& b : buttons) {
            unskinned.push_back(buttonEdge(b));
            EXPECT_EQ(buttonColours.count(unskinned.back()), 0u) << b.text;
        }
        for (const Child& e : edits) EXPECT_NE(PixelShot::OfScreen(e.rect).At(0, 0), colours.ButtonShadow) << e.text;
        for (const Child& s : spins) EXPECT_EQ(Count(arrows(s), arrowColours), 0) << "spin arrows";
        for (const Child& p : panels) {
            unskinned.push_back(panelPixel(p));
            EXPECT_EQ(unskinned.back(), face) << "panel";
        }
        for (const Child& g : groups) {
            unskinned.push_back(groupPixel(g));
            EXPECT_EQ(unskinned.back(), face) << g.text;
        }
        for (const Child& d : drives) EXPECT_EQ(Count(PixelShot::OfScreen(d.rect), comboColours), 0) << "drive combo";
        for (const Child& l : scrolled) EXPECT_EQ(Count(PixelShot::OfScreen(l.rect), barColours), 0) << l.cls;
    }

    SkinsCommand('B');
    ASSERT_TRUE(WaitUntil([&] { return Framed(); }));
    Settle();
    {
        SCOPED_TRACE("skinned Blue");
        size_t i = 0;
        for (const Child& b : buttons) EXPECT_NE(buttonEdge(b), unskinned[i++]) << b.text;
        for (const Child& p : panels) EXPECT_NE(panelPixel(p), unskinned[i++]) << "panel";
        for (const Child& g : groups) EXPECT_NE(groupPixel(g), unskinned[i++]) << g.text;
    }
}

}  // namespace
}  // namespace pellix::test
