// What the control-skin tests share: a host for the skins, test skins loaded
// into a skin data component, pictures of windows read back, and the control
// sampler, a form holding one control of every kind the control skins serve
// (framework controls read from a form description, and raw system windows).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinButtons.h"
#include "skin/SkinCheckBoxes.h"
#include "skin/SkinEdits.h"
#include "skin/SkinUpDown.h"
#include "skin/SkinWalk.h"
#include "skin/WinSkinData.h"
#include "tests/harness/Pump.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {

using testskin::TElement;
using testskin::TPiece;

// The frame skin stand-in that owns the control skins.
class TTestHost : public TComponent, public TSkinControlHost {
public:
    TTestHost() : TComponent(nullptr) {}
    ~TTestHost() override { DropControlSkins(); }
    bool tearingDown = false;
    bool TearingDown() const override { return tearingDown; }
};

// A skin data component holding a test skin, parsed.
inline std::unique_ptr<TSkinData, ComponentFree> LoadTestSkin(const testskin::TTestSkinOptions& options = {}) {
    std::unique_ptr<TSkinData, ComponentFree> data(new TSkinData(nullptr));
    testskin::FillStream(data->SkinStream, testskin::TestSkin(options));
    EXPECT_TRUE(data->LoadSkinStream());
    return data;
}

// A skin data component holding one of the program's own skins.
inline std::unique_ptr<TSkinData, ComponentFree> LoadBuiltinSkin(const std::string& resource) {
    std::unique_ptr<TSkinData, ComponentFree> data(new TSkinData(nullptr));
    const std::string_view bytes = ResourceBytes(resource);
    EXPECT_FALSE(bytes.empty()) << resource;
    data->SkinStream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data->SkinStream.SetPosition(0);
    EXPECT_TRUE(data->LoadSkinStream()) << resource;
    return data;
}

// A test skin's colour as the screen shows it.
inline COLORREF Rgb(uint32_t colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }
inline COLORREF Piece(TElement element, int frame, TPiece piece) {
    return Rgb(testskin::PieceColour(element, frame, piece));
}
inline const testskin::TTestColours& SkinColours() {
    static const testskin::TTestColours colours = testskin::Colours();
    return colours;
}

// The whole window as it is on the screen now, read back once.
class TWindowPicture {
public:
    explicit TWindowPicture(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        pixels_.assign(static_cast<size_t>(width_) * height_, 0);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC screen = GetWindowDC(window);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = RGB(p[i] >> 16 & 0xFF, p[i] >> 8 & 0xFF, p[i] & 0xFF);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
        ReleaseDC(window, screen);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Window coordinates; outside the window: CLR_INVALID.
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
        return pixels_[static_cast<size_t>(y) * width_ + x];
    }
    // Pixels of colour inside rect (window coordinates).
    int Count(COLORREF colour, const RECT& rect) const {
        int n = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) n += At(x, y) == colour;
        return n;
    }
    int Count(COLORREF colour) const { return Count(colour, RECT{0, 0, width_, height_}); }

private:
    int width_ = 0, height_ = 0;
    std::vector<COLORREF> pixels_;
};

inline std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(c));
    return text;
}

// Makes the window paint everything it has to, now.
inline void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
}

// Where text lands when DrawCaptionText centres it in rect, measured in the
// window's own font.
inline RECT CentredTextRect(HWND window, const RECT& rect, const std::string& text, UINT alignment = DT_CENTER) {
    HDC dc = GetDC(window);
    auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    RECT extent = rect;
    DrawTextA(dc, text.c_str(), -1, &extent, alignment | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    const int w = extent.right - extent.left, h = extent.bottom - extent.top;
    const int dy = (rect.bottom - rect.top - h) / 2 - 1;
    int dx = 0;
    if (alignment == DT_CENTER) dx = (rect.right - rect.left - w) / 2;
    if (alignment == DT_RIGHT) dx = rect.right - rect.left - w;
    return RECT{rect.left + dx, rect.top + dy, rect.left + dx + w, rect.top + dy + h};
}

// A shown framework form to put controls on, a host for their skins and the
// test skin; the cursor starts parked far from the form.
class ControlSkinFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ParkCursor();
        form.reset(new TForm(nullptr));
        form->SetBounds(100, 100, 420, 320);
        form->Show();
        host = std::make_unique<TTestHost>();
        skin = LoadTestSkin();
        PumpMessages();
    }
    void TearDown() override {
        host.reset();
        for (HWND window : raws) DestroyWindow(window);
        form.reset();
        PumpMessages();
    }

    static void ParkCursor() { SetCursorPos(1270, 1010); }

    // A framework control of class T on the form; setup runs before its
    // window is made, for what the window is made with.
    template <class T>
    T* Make(int left, int top, int width, int height, const std::string& caption = {},
            const std::function<void(T&)>& setup = {}) {
        auto* control = new T(form.get());  // owned by the form
        if (setup) setup(*control);
        control->SetParent(form.get());
        control->SetBounds(left, top, width, height);
        if (!caption.empty()) control->SetCaption(caption);
        return control;
    }
    // A raw system window on the form.
    HWND MakeRaw(const char* cls, DWORD style, int left, int top, int width, int height, const char* text = "Raw",
                 int id = 7, DWORD exStyle = 0) {
        HWND window = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height,
                                      form->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleA(nullptr), nullptr);
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(form->Font()->Handle()), 0);
        raws.push_back(window);
        return window;
    }
    // A skin of class T owned by the host.
    template <class T>
    T* NewSkin() {
        return new T(host.get());  // owned by the host
    }
    // The point at (x, y) of a window, on the screen.
    static POINT ScreenPoint(HWND window, int x, int y) {
        RECT r;
        GetWindowRect(window, &r);
        return POINT{r.left + x, r.top + y};
    }

    std::unique_ptr<TForm, ComponentFree> form;
    std::unique_ptr<TTestHost> host;
    std::unique_ptr<TSkinData, ComponentFree> skin;
    std::vector<HWND> raws;
};

// Glyph strips of the sampler's buttons: four 12 x 12 glyphs, each a square of
// its own colour on a key colour that its bottom-left pixel shows.
constexpr COLORREF kGlyphKey = RGB(0, 128, 128);
inline COLORREF GlyphColour(int glyph) { return RGB(40 * glyph, 200 - 30 * glyph, 60); }
inline void PaintGlyphs(TBitmap& strip, int count) {
    strip.SetPixelFormat(TPixelFormat::pf24bit);
    strip.SetSize(12 * count, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12 * count; ++x) {
            const bool inside = x % 12 >= 2 && x % 12 < 10 && y >= 2 && y < 10;
            const COLORREF c = inside ? GlyphColour(x / 12 + 1) : kGlyphKey;
            uint8_t* p = strip.ScanLine(y) + 3 * x;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
}

// One control of every kind the control skins serve.
class TControlSampler : public TForm {
public:
    explicit TControlSampler(TComponent* owner) : TForm(owner) { RegisterClassInfo("TControlSampler", "TForm"); }
    std::string ClassName() const override { return "TControlSampler"; }

    template <class T>
    T* Get(const std::string& name) const {
        return FindComponentAs<T>(*this, name, "TControlSampler");
    }

    // The raw system windows of the last row, made after the form's own.
    struct TRaw {
        HWND PushButton, CheckBox, RadioButton, Edit, ComboBox;
    } Raw{};

    void MakeRawWindows() {
        HWND parent = Handle();
        auto make = [&](const char* cls, const char* text, DWORD style, DWORD exStyle, int x, int w, int h, int id) {
            HWND h1 = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, 300, w, h,
                                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleA(nullptr), nullptr);
            SendMessageA(h1, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
            return h1;
        };
        Raw.PushButton = make("BUTTON", "Raw push", BS_PUSHBUTTON, 0, 10, 90, 25, 101);
        Raw.CheckBox = make("BUTTON", "Raw check", BS_AUTOCHECKBOX, 0, 110, 90, 20, 102);
        Raw.RadioButton = make("BUTTON", "Raw radio", BS_AUTORADIOBUTTON, 0, 210, 90, 20, 103);
        Raw.Edit = make("EDIT", "Raw edit", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 310, 100, 22, 104);
        Raw.ComboBox = make("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 420, 110, 200, 105);
        SendMessageA(Raw.ComboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Raw combo"));
        SendMessageA(Raw.ComboBox, CB_SETCURSEL, 0, 0);
        SendMessageA(Raw.CheckBox, BM_SETCHECK, BST_CHECKED, 0);
    }
};

// The sampler's controls, laid out in three columns and a row of raw windows.
inline constexpr const char* kSamplerDescription = R"(object Sampler: TControlSampler
  Left = 60
  Top = 40
  Width = 560
  Height = 400
  Caption = 'Control sampler'
  object Button1: TButton
    Left = 10
    Top = 10
    Width = 90
    Height = 25
    Caption = 'Button'
  end
  object BitBtn1: TBitBtn
    Left = 10
    Top = 45
    Width = 110
    Height = 30
    Caption = 'Bit button'
    NumGlyphs = 4
  end
  object SpeedButton1: TSpeedButton
    Left = 130
    Top = 45
    Width = 70
    Height = 30
    Caption = 'Speed'
    NumGlyphs = 4
    GroupIndex = 1
  end
  object CheckBox1: TCheckBox
    Left = 10
    Top = 85
    Width = 100
    Height = 20
    Caption = 'Check box'
    Checked = True
  end
  object CheckBox2: TCheckBox
    Left = 110
    Top = 85
    Width = 95
    Height = 20
    Caption = 'Left text'
    Alignment = taLeftJustify
  end
  object RadioButton1: TRadioButton
    Left = 10
    Top = 110
    Width = 100
    Height = 20
    Caption = 'Radio button'
    Checked = True
  end
  object RadioGroup1: TRadioGroup
    Left = 10
    Top = 135
    Width = 190
    Height = 95
    Caption = 'Radio group'
    ItemIndex = 1
    Items.Strings = (
      'First'
      'Second'
      'Third')
  end
  object Edit1: TEdit
    Left = 220
    Top = 10
    Width = 120
    Height = 21
    Text = 'Sunken edge'
  end
  object Edit2: TEdit
    Left = 220
    Top = 40
    Width = 120
    Height = 21
    Ctl3D = False
    Text = 'One-pixel line'
  end
  object Edit3: TEdit
    Left = 220
    Top = 70
    Width = 120
    Height = 21
    BorderStyle = bsNone
    Text = 'No border'
  end
  object SpinEdit1: TSpinEdit
    Left = 220
    Top = 100
    Width = 80
    Height = 22
    MaxValue = 99
    Value = 7
  end
  object ComboBox1: TComboBox
    Left = 220
    Top = 130
    Width = 120
    Height = 21
    Text = 'Drop-down'
    Items.Strings = (
      'Drop-down'
      'Another')
  end
  object ComboBox2: TComboBox
    Left = 220
    Top = 160
    Width = 120
    Height = 21
    Style = csDropDownList
    ItemIndex = 0
    Items.Strings = (
      'List only'
      'Another')
  end
  object UpDown1: TUpDown
    Left = 360
    Top = 10
    Width = 17
    Height = 25
  end
  object UpDown2: TUpDown
    Left = 390
    Top = 14
    Width = 40
    Height = 17
    Orientation = udHorizontal
  end
  object TrackBar1: TTrackBar
    Left = 360
    Top = 45
    Width = 170
    Height = 40
    Position = 3
  end
  object ProgressBar1: TProgressBar
    Left = 360
    Top = 95
    Width = 170
    Height = 18
    Position = 60
  end
  object Panel1: TPanel
    Left = 360
    Top = 125
    Width = 170
    Height = 40
    Caption = 'Panel'
  end
  object GroupBox1: TGroupBox
    Left = 220
    Top = 195
    Width = 310
    Height = 90
    Caption = 'Group box'
  end
  object StatusBar1: TStatusBar
    SizeGrip = False
    Panels = <
      item
        Text = 'Left'
        Width = 150
      end
      item
        Alignment = taCenter
        Bevel = pbRaised
        Text = 'Centre'
        Width = 150
      end
      item
        Alignment = taRightJustify
        Text = 'Right'
      end>
  end
end
)";

using SamplerPtr = std::unique_ptr<TControlSampler, ComponentFree>;

// The sampler shown, with its glyphs and raw windows.
inline SamplerPtr ShowSampler() {
    SamplerPtr sampler(new TControlSampler(nullptr));
    LoadFormText(*sampler, kSamplerDescription, "ControlSampler.dfm");
    PaintGlyphs(*sampler->Get<TBitBtn>("BitBtn1")->Glyph(), 4);
    PaintGlyphs(*sampler->Get<TSpeedButton>("SpeedButton1")->Glyph(), 4);
    sampler->Show();
    sampler->MakeRawWindows();
    PumpMessages();
    return sampler;
}

// Gives every control of the sampler its skin through the control walk, as
// a frame does: the form's controls, then the raw windows one by one.
inline void SkinSampler(TControlSampler& s, TSkinData* skin, TTestHost& host) {
    TControlWalk walk(host, *skin);
    walk.FormName = s.Name();
    walk.SkinChildControls(&s);
    for (HWND raw : {s.Raw.PushButton, s.Raw.CheckBox, s.Raw.RadioButton, s.Raw.Edit, s.Raw.ComboBox})
        walk.SkinChildWindow(raw);
    s.SetColor(skin->ButtonFaceColour);
    PumpMessages();
}

}  // namespace pellix::test
