// Skinned menus in process: a form with a main menu framed with the
// solid-colour test skin, the menu font as the system gives it, drawing
// targets of our own, keys and a script that runs inside a menu loop.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/WinSkinMenu.h"
#include "tests/skin/FrameFixture.h"

namespace pellix::test {

// The colour of a test-skin colour key as GDI shows it.
inline uint32_t Rgb(TColor colour) { return static_cast<uint32_t>(ColorToRGB(colour)); }

// The system's menu font, made by the test itself.
class MenuFontDc {
public:
    MenuFontDc(bool bold = false) : dc_(CreateCompatibleDC(nullptr)) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
        font_ = CreateFontIndirectA(&metrics.lfMenuFont);
        old_ = SelectObject(dc_, font_);
    }
    ~MenuFontDc() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }
    MenuFontDc(const MenuFontDc&) = delete;
    MenuFontDc& operator=(const MenuFontDc&) = delete;

    // The extent GetTextExtentPoint32 gives (the string as it stands).
    SIZE Extent(const std::string& text) const {
        SIZE size{};
        GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    // The extent DrawText gives one line ("&" marks an accelerator).
    SIZE DrawnExtent(const std::string& text) const {
        RECT r{0, 0, 1000, 1000};
        DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

// A 32-bit drawing surface of our own, filled with one colour.
class DibTarget {
public:
    DibTarget(int width, int height, uint32_t fill) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i) bits_[i] = (fill & 0xFF) << 16 | (fill & 0xFF00) | (fill >> 16 & 0xFF);
    }
    ~DibTarget() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    DibTarget(const DibTarget&) = delete;
    DibTarget& operator=(const DibTarget&) = delete;

    HDC Dc() const { return dc_; }
    // 0x00BBGGRR.
    uint32_t At(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
    }
    int Count(const RECT& r, uint32_t colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
        return n;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Real keys, handled before it returns.
inline void Keys(std::initializer_list<std::pair<WORD, bool>> strokes) {
    std::vector<INPUT> in;
    for (auto [vk, up] : strokes) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
inline void Tap(WORD vk) { Keys({{vk, false}, {vk, true}}); }

// The open popup-menu windows of this thread, deepest (newest) last by menu.
inline std::vector<HWND> OpenPopups() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM list) -> BOOL {
            char name[16] = {};
            GetClassNameA(hwnd, name, sizeof(name));
            if (IsWindowVisible(hwnd) && std::string(name) == "#32768")
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
inline HMENU MenuOf(HWND popup) { return reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1, 0, 0)); }
// The popup showing menu, or none.
inline HWND PopupShowing(HMENU menu) {
    for (HWND h : OpenPopups())
        if (MenuOf(h) == menu) return h;
    return nullptr;
}

// Steps run from a timer while a menu loop runs: each waits until its
// condition holds, then acts. A step whose condition does not come within
// the limit fails the test and ends the menu.
class MenuScript {
public:
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    explicit MenuScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &MenuScript::Tick);
    }
    ~MenuScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    bool Done() const { return next_ == steps_.size(); }
    // The step that did not come (in time), or empty when all came.
    std::string Failed() const {
        if (!failed_.empty()) return failed_ + " (did not come in time)";
        return Done() ? std::string() : steps_[next_].what + " (the loop ended before)";
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuScript* self = current_;
        if (self == nullptr || self->busy_ || self->Done() || !self->failed_.empty()) return;
        self->busy_ = true;
        Step& step = self->steps_[self->next_];
        const auto now = std::chrono::steady_clock::now();
        if (self->waiting_ == std::chrono::steady_clock::time_point{}) self->waiting_ = now;
        if (step.ready()) {
            self->waiting_ = {};
            ++self->next_;
            if (step.act) step.act();
        } else if (now - self->waiting_ > std::chrono::seconds(5)) {
            self->failed_ = step.what;
            EndMenu();
        }
        self->busy_ = false;
    }

    static inline MenuScript* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::string failed_;
    std::chrono::steady_clock::time_point waiting_{};
    UINT_PTR timer_ = 0;
    bool busy_ = false;
};

// A form with a main menu, framed with the test skin:
//   &File: &Open... (Ctrl+O), -, E&xit (disabled)
//   &Options: &Fonts..., &Skins > [&Blue (checked), &Silver]
//   &Help: &About
class MenuFrames : public SkinnedFrames {
protected:
    void TearDown() override {
        forms_.clear();
        PumpMessages();
        SkinnedFrames::TearDown();
    }

    TMenuItem* NewItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = scNone) {
        auto* item = new TMenuItem(form_);  // owned by the form
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        parent->Add(item);
        return item;
    }

    // The form, not shown yet.
    TForm& MakeMenuForm(const RECT& bounds = RECT{100, 100, 500, 400}) {
        forms_.emplace_back(new TForm(nullptr));
        form_ = forms_.back().get();
        form_->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        form_->SetCaption("Menus");
        menu = new TMainMenu(form_);  // owned by the form
        TMenuItem* root = menu->Items();
        file = NewItem(root, "&File");
        open = NewItem(file, "&Open...", ShortCut('O', ssCtrl));
        line = NewItem(file, "-");
        exit = NewItem(file, "E&xit");
        exit->SetEnabled(false);
        options = NewItem(root, "&Options");
        fonts = NewItem(options, "&Fonts...");
        skins = NewItem(options, "&Skins");
        blue = NewItem(skins, "&Blue");
        blue->SetChecked(true);
        silver = NewItem(skins, "&Silver");
        help = NewItem(root, "&Help");
        about = NewItem(help, "&About");
        form_->SetMenu(menu);
        return *form_;
    }
    TForm& ShowMenuForm(const RECT& bounds = RECT{100, 100, 500, 400}) {
        TForm& form = MakeMenuForm(bounds);
        form.Show();
        WaitStarted(form.Handle());
        return form;
    }
    TWinSkinForm& Frame() { return *FrameOf(form_->Handle()); }
    TWinSkinMenu& Bar() { return *Frame().SkinMenu; }
    TMenuBtn& Button(int index) { return *Bar().MenuButtons.at(static_cast<size_t>(index)); }
    // The centre of a bar button, in screen coordinates.
    POINT ButtonCentre(int index) {
        const RECT b = Button(index).Bounds;
        const RECT w = WindowRect(form_->Handle());
        return POINT{w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2};
    }

    TForm* form_ = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *open = nullptr, *line = nullptr, *exit = nullptr;
    TMenuItem *options = nullptr, *fonts = nullptr, *skins = nullptr, *blue = nullptr, *silver = nullptr;
    TMenuItem *help = nullptr, *about = nullptr;

private:
    std::vector<std::unique_ptr<TForm, ComponentFree>> forms_;
};

}  // namespace pellix::test
