// Message boxes and common dialogs driven as a user would: a timer finds the
// dialog window inside its modal loop, looks at it and presses its buttons.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Dialogs.h"
#include "framework/FormLoader.h"
#include "framework/StdCtrls.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

using namespace test;

// A 32-bit top-down bitmap with a memory context to draw into or copy to.
class Dib {
public:
    Dib(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Dib() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    HDC Dc() const { return dc_; }
    uint32_t Pixel(int x, int y) const {
        GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// The client-area context of a window (the screen's for none).
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() { ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// What the window shows in rect (client coordinates).
std::unique_ptr<Dib> Grab(HWND hwnd, const RECT& rect) {
    auto dib = std::make_unique<Dib>(rect.right - rect.left, rect.bottom - rect.top);
    WindowDc dc(hwnd);
    BitBlt(dib->Dc(), 0, 0, dib->Width(), dib->Height(), dc.Get(), rect.left, rect.top, SRCCOPY);
    return dib;
}

// A DIB pixel (blue in the low byte) of a colour.
uint32_t DibColor(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// ------------------------------------------------------------- MessageDlg

struct BoxSeen {
    bool found = false;
    std::string caption;
    bool otherDisabled = false;
    int iconPixels = 0, iconMismatches = 0;
    bool hasImage = false;
    std::string message;
    std::string buttonClass, buttonText;
    RECT client{}, text{}, button{}, image{};
    int textInk = 0;
};

// Looks at the box, then presses its OK button.
void InspectBox(HWND box, LPCSTR iconId, HWND other, BoxSeen& seen) {
    seen.found = true;
    seen.caption = TextOf(box);
    seen.otherDisabled = !IsWindowEnabled(other);
    UpdateWindow(box);
    GetClientRect(box, &seen.client);
    auto* form = dynamic_cast<TMessageForm*>(TWinControl::FromHandle(box));
    ASSERT_NE(form, nullptr);
    auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"));
    ASSERT_NE(label, nullptr);
    seen.message = label->Caption();
    seen.text = label->BoundsRect();
    // Ink: pixels of the label that are not its background.
    const uint32_t face = DibColor(ColorToRGB(clBtnFace));
    auto ink = Grab(box, seen.text);
    for (int y = 0; y < ink->Height(); ++y)
        for (int x = 0; x < ink->Width(); ++x) seen.textInk += ink->Pixel(x, y) != face;

    if (auto* image = dynamic_cast<TControl*>(form->FindComponent("Image"))) {
        seen.hasImage = true;
        seen.image = image->BoundsRect();
        auto shown = Grab(box, seen.image);
        Dib expected(shown->Width(), shown->Height());
        RECT all{0, 0, expected.Width(), expected.Height()};
        FillRect(expected.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
        DrawIconEx(expected.Dc(), 0, 0, LoadIconA(nullptr, iconId), expected.Width(), expected.Height(), 0, nullptr,
                   DI_NORMAL);
        for (int y = 0; y < expected.Height(); ++y) {
            for (int x = 0; x < expected.Width(); ++x) {
                seen.iconPixels += expected.Pixel(x, y) != face;
                seen.iconMismatches += expected.Pixel(x, y) != shown->Pixel(x, y);
            }
        }
    }

    HWND ok = FindWindowExA(box, nullptr, nullptr, "OK");
    ASSERT_NE(ok, nullptr);
    seen.buttonClass = ClassOf(ok);
    seen.buttonText = TextOf(ok);
    GetWindowRect(ok, &seen.button);
    MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&seen.button), 2);
    SendMessageA(ok, BM_CLICK, 0, 0);
}

class MessageDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        other.reset(new TForm(nullptr));
        other->SetBounds(10, 10, 200, 150);
        other->Show();
        test::PumpMessages();
        Application->SetTitle("Pellix Tests");
    }
    std::unique_ptr<TForm, ComponentFree> other;
};

TEST_F(MessageDlgTest, ShowsTheTypesIconAndTitleTheTextAndOneOkButton) {
    struct Case {
        TMsgDlgType type;
        const char* title;
        LPCSTR icon;
    } cases[] = {
        {TMsgDlgType::mtInformation, "Information", IDI_ASTERISK},
        {TMsgDlgType::mtError, "Error", IDI_HAND},
        {TMsgDlgType::mtWarning, "Warning", IDI_EXCLAMATION},
        {TMsgDlgType::mtConfirmation, "Confirm", IDI_QUESTION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string text = std::string("The specified key does not exist.\nSecond line of the ") + c.title;
        BoxSeen seen;
        ModalDriver driver([&] {
            HWND box = FindThreadWindow("TMessageForm");
            if (box == nullptr) return false;
            InspectBox(box, c.icon, other->Handle(), seen);
            return true;
        });
        int result = MessageDlg(text, c.type, mbOK);
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_EQ(result, static_cast<int>(TModalResult::mrOk));
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, c.title);
        EXPECT_TRUE(seen.otherDisabled);
        EXPECT_TRUE(IsWindowEnabled(other->Handle()));
        EXPECT_EQ(seen.message, text);
        EXPECT_GT(seen.textInk, 0);
        EXPECT_EQ(seen.buttonClass, "TButton");
        EXPECT_EQ(seen.buttonText, "OK");
        ASSERT_TRUE(seen.hasImage);
        EXPECT_GT(seen.iconPixels, 0);
        EXPECT_EQ(seen.iconMismatches, 0);
        // Icon left of the text, button below both, everything inside the box.
        EXPECT_LE(seen.image.right, seen.text.left);
        EXPECT_GE(seen.button.top, std::max(seen.text.bottom, seen.image.bottom));
        EXPECT_GE(seen.image.left, 0);
        EXPECT_LE(seen.text.right, seen.client.right);
        EXPECT_LE(seen.button.bottom, seen.client.bottom);
        EXPECT_LE(seen.button.right, seen.client.right);
        EXPECT_EQ(FindThreadWindow("TMessageForm"), nullptr);
    }
}

TEST_F(MessageDlgTest, TheTextIsNeverClippedAndLongTextWraps) {
    const std::string text(40, 'W');
    const std::string longText = [] {
        std::string s;
        for (int i = 0; i < 60; ++i) s += "wrapping words ";
        return s;
    }();
    for (const std::string& t : {text, longText}) {
        RECT label{}, client{};
        std::unique_ptr<TMessageForm, ComponentFree> form(
            new TMessageForm(nullptr, t, TMsgDlgType::mtInformation, mbOK));
        label = static_cast<TControl*>(form->FindComponent("Message"))->BoundsRect();
        GetClientRect(form->Handle(), &client);
        // Measured here with the box's own font.
        WindowDc dc(nullptr);
        HGDIOBJ old = SelectObject(dc.Get(), form->Font()->Handle());
        RECT need{0, 0, label.right - label.left, 0};
        DrawTextA(dc.Get(), t.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        SIZE line{};
        GetTextExtentPoint32A(dc.Get(), t.c_str(), static_cast<int>(t.size()), &line);
        SelectObject(dc.Get(), old);
        EXPECT_LE(need.bottom, label.bottom - label.top);
        EXPECT_LE(label.right, client.right);
        EXPECT_LE(client.right, GetSystemMetrics(SM_CXSCREEN));
        if (t == longText) EXPECT_GT(label.bottom - label.top, line.cy);  // more than one line
        else EXPECT_GE(label.right - label.left, line.cx);
    }
}

TEST_F(MessageDlgTest, ShowMessageIsThePlainBoxWithTheApplicationTitle) {
    BoxSeen seen;
    ModalDriver driver([&] {
        HWND box = FindThreadWindow("TMessageForm");
        if (box == nullptr) return false;
        InspectBox(box, nullptr, other->Handle(), seen);
        return true;
    });
    ShowMessage("Error opening key");
    EXPECT_FALSE(driver.TimedOut());
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "Pellix Tests");
    EXPECT_EQ(seen.message, "Error opening key");
    EXPECT_FALSE(seen.hasImage);
    EXPECT_EQ(seen.buttonText, "OK");
}

TEST_F(MessageDlgTest, ClosingTheBoxEndsItAsCancel) {
    ModalDriver driver([] {
        HWND box = FindThreadWindow("TMessageForm");
        if (box != nullptr) PostMessageA(box, WM_CLOSE, 0, 0);
        return box != nullptr;
    });
    EXPECT_EQ(MessageDlg("Closed", TMsgDlgType::mtWarning, mbOK), static_cast<int>(TModalResult::mrCancel));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
}

// ------------------------------------------------------------ TFontDialog

struct Applied {
    int count = 0;
    TObject* sender = nullptr;
    HWND wnd = nullptr;
    std::string name;
    int size = 0;
    TFontStyles style = 0;
};

class FontDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.Options = fdLimitSize;
        dialog.MinFontSize = 8;
        dialog.MaxFontSize = 12;
        dialog.OnApply = [this](TObject* sender, HWND wnd) {
            ++applied.count;
            applied.sender = sender;
            applied.wnd = wnd;
            applied.name = dialog.Font()->Name();
            applied.size = dialog.Font()->Size();
            applied.style = dialog.Font()->Style();
            windowFont.Assign(dialog.Font());
        };
    }

    // Chooses another face than the first, 10 points, bold italic; returns the face.
    static std::string Choose(HWND dlg) {
        auto faces = ComboItems(GetDlgItem(dlg, cmb1));
        EXPECT_GE(faces.size(), 2u);
        if (faces.size() < 2) return {};
        SelectComboItem(dlg, cmb1, 1);
        SelectComboText(dlg, cmb2, "Bold Italic");
        SelectComboText(dlg, cmb3, "10");
        return faces[1];
    }

    TFontDialog dialog{nullptr};
    TFont windowFont;  // stands for the window whose font the Apply handler sets
    Applied applied;
};

TEST_F(FontDialogTest, ApplyHandsTheCurrentSelectionToOnApply) {
    HWND seenDialog = nullptr;
    std::string face;
    std::vector<std::string> sizes;
    bool applyShown = false, effectsShown = true;
    ModalDriver driver([&] {
        HWND dlg = FindThreadWindow("#32770");
        if (dlg == nullptr) return false;
        seenDialog = dlg;
        applyShown = IsWindowVisible(GetDlgItem(dlg, psh3));
        effectsShown = IsWindowVisible(GetDlgItem(dlg, chx1)) || IsWindowVisible(GetDlgItem(dlg, chx2));
        sizes = ComboItems(GetDlgItem(dlg, cmb3));
        face = Choose(dlg);
        Press(dlg, psh3);
        Press(dlg, IDOK);
        return true;
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(applyShown);
    EXPECT_FALSE(effectsShown);
    EXPECT_EQ(sizes, (std::vector<std::string>{"8", "9", "10", "11", "12"}));
    ASSERT_EQ(applied.count, 1);
    EXPECT_EQ(applied.sender, &dialog);
    EXPECT_EQ(applied.wnd, seenDialog);
    EXPECT_EQ(applied.name, face);
    EXPECT_EQ(applied.size, 10);
    EXPECT_EQ(applied.style, fsBold | fsItalic);
    EXPECT_EQ(windowFont.Name(), face);
}

TEST_F(FontDialogTest, OkWithoutApplyLeavesOnApplyAloneAndKeepsTheChoiceInTheDialog) {
    const std::string before = windowFont.Name();
    std::string face;
    {
        ModalDriver driver([&] {
            HWND dlg = FindThreadWindow("#32770");
            if (dlg == nullptr) return false;
            face = Choose(dlg);
            Press(dlg, IDOK);
            return true;
        });
        EXPECT_TRUE(dialog.Execute());
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(applied.count, 0);
    EXPECT_EQ(windowFont.Name(), before);
    // The next run starts from the face last chosen.
    EXPECT_EQ(dialog.Font()->Name(), face);
    EXPECT_EQ(dialog.Font()->Size(), 10);
    EXPECT_EQ(dialog.Font()->Style(), fsBold | fsItalic);

    std::string startsWith;
    ModalDriver again([&] {
        HWND dlg = FindThreadWindow("#32770");
        if (dlg == nullptr) return false;
        startsWith = TextOf(GetDlgItem(dlg, cmb1));
        Press(dlg, IDCANCEL);
        return true;
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(startsWith, face);
    EXPECT_EQ(dialog.Font()->Name(), face);
}

TEST_F(FontDialogTest, TheDesignDefaultOffersEffectsAndNoApplyButton) {
    TFontDialog plain(nullptr);
    TFont before;
    before.Assign(plain.Font());
    bool applyShown = true, strikeOutShown = false, underlineShown = false;
    ModalDriver driver([&] {
        HWND dlg = FindThreadWindow("#32770");
        if (dlg == nullptr) return false;
        applyShown = IsWindowVisible(GetDlgItem(dlg, psh3));
        strikeOutShown = IsWindowVisible(GetDlgItem(dlg, chx1));
        underlineShown = IsWindowVisible(GetDlgItem(dlg, chx2));
        Press(dlg, IDCANCEL);
        return true;
    });
    EXPECT_FALSE(plain.Execute());
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_FALSE(applyShown);
    EXPECT_TRUE(strikeOutShown);
    EXPECT_TRUE(underlineShown);
    EXPECT_EQ(plain.Font()->Name(), before.Name());
    EXPECT_EQ(plain.Font()->Height(), before.Height());
}

// ------------------------------------------------------------ TOpenDialog

class OpenDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "pellix-dialogs-test";
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : {"pick.txt", "other.dat"}) ASSERT_TRUE(std::ofstream(folder + "\\" + name) << name);
    }
    void TearDown() override {
        DeleteFileA((folder + "\\pick.txt").c_str());
        DeleteFileA((folder + "\\other.dat").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string folder;
};

// The name field of the explorer-style dialog.
HWND FileNameField(HWND dlg) {
    HWND field = GetDlgItem(dlg, cmb13);
    return field != nullptr ? field : GetDlgItem(dlg, edt1);
}

TEST_F(OpenDialogTest, OffersTheFilterStartsInTheInitialFolderAndReturnsTheChosenPath) {
    TOpenDialog dialog(nullptr);
    dialog.Filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    dialog.InitialDir = folder;
    dialog.Options |= ofFileMustExist;
    std::vector<std::string> types;
    ModalDriver driver([&] {
        HWND dlg = FindThreadWindow("#32770");
        if (dlg == nullptr || FileNameField(dlg) == nullptr) return false;
        types = ComboItems(GetDlgItem(dlg, cmb1));
        SetWindowTextA(FileNameField(dlg), "pick.txt");
        Press(dlg, IDOK);
        return true;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(types, (std::vector<std::string>{"Text files (*.txt)", "All files (*.*)"}));
    EXPECT_TRUE(SameText(dialog.FileName, folder + "\\pick.txt")) << dialog.FileName;
    EXPECT_EQ(dialog.FilterIndex, 1);
}

TEST_F(OpenDialogTest, ThePictureDialogOffersEveryPictureKindAndCancelReturnsFalse) {
    TOpenPictureDialog dialog(nullptr);
    dialog.InitialDir = folder;
    std::vector<std::string> types;
    ModalDriver driver([&] {
        HWND dlg = FindThreadWindow("#32770");
        if (dlg == nullptr) return false;
        types = ComboItems(GetDlgItem(dlg, cmb1));
        Press(dlg, IDCANCEL);
        return true;
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(dialog.FileName, "");
    EXPECT_EQ(types, (std::vector<std::string>{
                         "All (*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.ico;*.emf;*.wmf)", "JPEG Image File (*.jpg)",
                         "JPEG Image File (*.jpeg)", "Bitmaps (*.bmp)", "GIF (*.gif)", "PNG (*.png)",
                         "Enhanced Metafiles (*.emf)", "Metafiles (*.wmf)", "Icons (*.ico)"}));
}

// ---------------------------------------------------- form descriptions

class TDialogsHostForm : public TForm {
public:
    explicit TDialogsHostForm(TComponent* owner) : TForm(owner) {
        RegisterClassInfo("TDialogsHostForm", "TForm");
        AddHandler("FontDialog1Apply", TFDApplyEvent([this](TObject* sender, HWND wnd) {
                       appliedBy = sender;
                       appliedWnd = wnd;
                   }));
    }
    std::string ClassName() const override { return "TDialogsHostForm"; }
    TObject* appliedBy = nullptr;
    HWND appliedWnd = nullptr;
};

TEST(DialogsDescription, SetsEveryPublishedPropertyAndBindsOnApply) {
    std::unique_ptr<TDialogsHostForm, ComponentFree> form(new TDialogsHostForm(nullptr));
    LoadFormText(*form,
                 "object Host: TDialogsHostForm\n"
                 "  object OpenPictureDialog1: TOpenPictureDialog\n"
                 "    InitialDir = 'C:\\pics'\n"
                 "    Options = [ofHideReadOnly, ofFileMustExist]\n"
                 "  end\n"
                 "  object OpenDialog1: TOpenDialog\n"
                 "    Filter = 'Skin files (*.skn)|*.SKN'\n"
                 "    FilterIndex = 2\n"
                 "    Title = 'Load'\n"
                 "  end\n"
                 "  object FontDialog1: TFontDialog\n"
                 "    Font.Charset = DEFAULT_CHARSET\n"
                 "    Font.Color = clWindowText\n"
                 "    Font.Height = -13\n"
                 "    Font.Name = 'Arial'\n"
                 "    Font.Style = [fsBold, fsUnderline]\n"
                 "    MinFontSize = 8\n"
                 "    MaxFontSize = 12\n"
                 "    Options = [fdEffects, fdLimitSize]\n"
                 "    OnApply = FontDialog1Apply\n"
                 "  end\n"
                 "end\n",
                 "Host.dfm");
    auto* picture = dynamic_cast<TOpenPictureDialog*>(form->FindComponent("OpenPictureDialog1"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->InitialDir, "C:\\pics");
    EXPECT_EQ(picture->Options, static_cast<TOpenOptions>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
    EXPECT_EQ(picture->Filter.rfind("All (*.jpg;", 0), 0u);

    auto* open = dynamic_cast<TOpenDialog*>(form->FindComponent("OpenDialog1"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->Filter, "Skin files (*.skn)|*.SKN");
    EXPECT_EQ(open->FilterIndex, 2);
    EXPECT_EQ(open->Title, "Load");
    EXPECT_EQ(open->Options, static_cast<TOpenOptions>(ofHideReadOnly | ofEnableSizing));

    auto* font = dynamic_cast<TFontDialog*>(form->FindComponent("FontDialog1"));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Font()->Name(), "Arial");
    EXPECT_EQ(font->Font()->Height(), -13);
    EXPECT_EQ(font->Font()->Style(), fsBold | fsUnderline);
    EXPECT_EQ(font->MinFontSize, 8);
    EXPECT_EQ(font->MaxFontSize, 12);
    EXPECT_EQ(font->Options, static_cast<TFontDialogOptions>(CF_EFFECTS | CF_LIMITSIZE));
    ASSERT_TRUE(font->OnApply);
    font->OnApply(font, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(form->appliedBy, font);
    EXPECT_EQ(form->appliedWnd, reinterpret_cast<HWND>(0x1234));

    EXPECT_THROW(LoadFormText(*std::unique_ptr<TDialogsHostForm, ComponentFree>(new TDialogsHostForm(nullptr)),
                              "object Host: TDialogsHostForm\n"
                              "  object FontDialog1: TFontDialog\n"
                              "    Options = [fdColour]\n"
                              "  end\n"
                              "end\n",
                              "Host.dfm"),
                 EFormLoadError);
}

}  // namespace
}  // namespace pellix
