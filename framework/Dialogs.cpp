#include "framework/Dialogs.h"

#include <dlgs.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/FormLoader.h"

namespace pellix {

TMessageBoxHook MessageBoxHook;

namespace {

struct TypeLook {
    const char* caption;
    LPCSTR icon;
};

TypeLook LookOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return {"Warning", IDI_EXCLAMATION};
    case TMsgDlgType::mtError: return {"Error", IDI_HAND};
    case TMsgDlgType::mtInformation: return {"Information", IDI_ASTERISK};
    case TMsgDlgType::mtConfirmation: return {"Confirm", IDI_QUESTION};
    case TMsgDlgType::mtCustom: break;
    }
    return {nullptr, nullptr};
}

struct ButtonKind {
    TMsgDlgBtn button;
    const char* caption;
    TModalResult result;
};
constexpr ButtonKind kButtonKinds[] = {{mbOK, "OK", TModalResult::mrOk}};

class TDialogIcon : public TGraphicControl {
public:
    TDialogIcon(TComponent* owner, HICON icon) : TGraphicControl(owner), icon_(icon) {}
    std::string ClassName() const override { return "TDialogIcon"; }
    void Paint(HDC dc) override { DrawIconEx(dc, 0, 0, icon_, Width(), Height(), 0, nullptr, DI_NORMAL); }

private:
    HICON icon_;  // a shared system icon: never destroyed
};

}  // namespace

// ------------------------------------------------------------ TMessageForm

TMessageForm::TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
    : TForm(owner), owner_(GetActiveWindow()) {
    TypeLook look = LookOf(type);
    SetCaption(look.caption != nullptr ? look.caption : Application->Title());
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    if (look.icon != nullptr) {
        auto* image = new TDialogIcon(this, LoadIconA(nullptr, look.icon));  // owned by the form
        image->SetName("Image");
        image->SetParent(this);
    }
    auto* message = new TLabel(this);  // owned by the form
    message->SetName("Message");
    message->SetAutoSize(false);
    message->WordWrap = true;
    message->ShowAccelChar = false;
    message->SetCaption(text);
    message->SetParent(this);
    bool first = true;
    for (const ButtonKind& kind : kButtonKinds) {
        if ((buttons & kind.button) == 0) continue;
        auto* button = new TButton(this);  // owned by the form
        button->SetName(kind.caption);
        button->SetCaption(kind.caption);
        button->ModalResult = static_cast<int>(kind.result);
        button->Default = first;
        button->SetParent(this);
        first = false;
    }
    Layout(look.icon != nullptr);
}

void TMessageForm::Layout(bool hasIcon) {
    MeasureDc dc(Font()->Handle());
    SIZE alphabet{};
    GetTextExtentPoint32A(dc.Get(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.Get(), &tm);
    // Dialog units of this font, as the system's own boxes are spaced.
    const int avgWidth = (alphabet.cx / 26 + 1) / 2;
    auto dluX = [&](int x) { return MulDiv(x, avgWidth, 4); };
    auto dluY = [&](int y) { return MulDiv(y, tm.tmHeight, 8); };
    const int margin = dluX(8), marginY = dluY(8), spacing = dluX(10), spacingY = dluY(10);
    const int buttonW = dluX(50), buttonH = dluY(14), buttonGap = dluX(4);

    auto* message = static_cast<TLabel*>(FindComponent("Message"));
    // Long texts wrap at half the screen's width.
    RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawTextA(dc.Get(), message->Caption().c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    const int iconSize = hasIcon ? GetSystemMetrics(SM_CXICON) : 0;
    const int textLeft = margin + (hasIcon ? iconSize + spacing : 0);
    const int bodyW = textLeft - margin + textRect.right;
    const int bodyH = std::max<int>(iconSize, textRect.bottom);
    std::vector<TButton*> buttons;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(Components(i))) buttons.push_back(b);
    const int count = static_cast<int>(buttons.size());
    const int buttonsW = count * buttonW + std::max(0, count - 1) * buttonGap;
    const int clientW = std::max(bodyW, buttonsW) + 2 * margin;
    const int clientH = marginY + bodyH + spacingY + buttonH + marginY;

    if (auto* image = dynamic_cast<TControl*>(FindComponent("Image"))) image->SetBounds(margin, marginY, iconSize, iconSize);
    message->SetBounds(textLeft, marginY, textRect.right, textRect.bottom);
    int x = (clientW - buttonsW) / 2;
    for (TButton* b : buttons) {
        b->SetBounds(x, marginY + bodyH + spacingY, buttonW, buttonH);
        x += buttonW + buttonGap;
    }
    HandleNeeded();
    SetClientWidth(clientW);
    SetClientHeight(clientH);
}

void TMessageForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    // Owned by the window that was active: the box stays above it, and that
    // window is activated again when the box goes.
    params.WndParent = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    if (MessageBoxHook) return MessageBoxHook(text, type, buttons);
    std::unique_ptr<TMessageForm, ComponentFree> form(new TMessageForm(nullptr, text, type, buttons));
    return form->ShowModal();
}

void ShowMessage(const std::string& text) { MessageDlg(text, TMsgDlgType::mtCustom, mbOK); }

// ------------------------------------------------------------- TOpenDialog

bool TOpenDialog::Execute() {
    // The system wants "a\0b\0c\0d\0\0": c_str() adds the last terminator.
    std::string filter = Filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');
    std::vector<char> file(32768, '\0');
    FileName.copy(file.data(), file.size() - 1);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | Options;
    if (!GetOpenFileNameA(&ofn)) return false;
    FileName = file.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
    Filter =
        "All (*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.ico;*.emf;"
        "*.wmf|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|GIF (*.gif)|*.gif|"
        "PNG (*.png)|*.png|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|Icons (*.ico)|*.ico";
}

// ------------------------------------------------------------- TFontDialog

namespace {

const char kFontDialogProp[] = "PellixFontDialog";

LOGFONTA LogFontOf(TFont& font) {
    LOGFONTA lf{};
    lf.lfHeight = font.Height();
    lf.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.Style() & fsItalic) != 0;
    lf.lfUnderline = (font.Style() & fsUnderline) != 0;
    lf.lfStrikeOut = (font.Style() & fsStrikeOut) != 0;
    lf.lfCharSet = static_cast<BYTE>(font.Charset());
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    font.Name().copy(lf.lfFaceName, LF_FACESIZE - 1);
    return lf;
}

}  // namespace

TFontDialog::TFontDialog(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
    LOGFONTA lf = LogFontOf(*font_);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = GetActiveWindow();
    cf.lpLogFont = &lf;
    cf.rgbColors = ColorToRGB(font_->Color());
    cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_ENABLEHOOK | Options;
    if (OnApply) cf.Flags |= CF_APPLY;
    if (Options & fdLimitSize) {
        cf.nSizeMin = MinFontSize;
        cf.nSizeMax = MaxFontSize;
    }
    cf.lpfnHook = &TFontDialog::HookProc;
    cf.lCustData = reinterpret_cast<LPARAM>(this);
    if (!ChooseFontA(&cf)) return false;
    TakeLogFont(lf, (Options & fdEffects) != 0, cf.rgbColors);
    return true;
}

UINT_PTR CALLBACK TFontDialog::HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        SetPropA(dialog, kFontDialogProp, reinterpret_cast<HANDLE>(reinterpret_cast<CHOOSEFONTA*>(lParam)->lCustData));
        return TRUE;  // the dialog sets its own first focus
    case WM_COMMAND:
        if (LOWORD(wParam) == psh3 && HIWORD(wParam) == BN_CLICKED) {
            if (auto* self = static_cast<TFontDialog*>(GetPropA(dialog, kFontDialogProp))) {
                try {
                    self->Apply(dialog);
                } catch (const std::exception& e) {
                    // No error may cross into the dialog's code.
                    Application->HandleException(self, e);
                }
            }
        }
        break;
    case WM_DESTROY:
        RemovePropA(dialog, kFontDialogProp);
        break;
    default:
        break;
    }
    return 0;
}

void TFontDialog::Apply(HWND dialog) {
    LOGFONTA lf{};
    SendMessageA(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
    TakeLogFont(lf, false, 0);
    if (OnApply) OnApply(this, dialog);
}

void TFontDialog::TakeLogFont(const LOGFONTA& lf, bool withColor, COLORREF color) {
    // Built aside and assigned once: the font announces one change, not five.
    TFont chosen;
    chosen.Assign(font_.get());
    chosen.SetName(std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
    chosen.SetHeight(lf.lfHeight);
    TFontStyles style = 0;
    if (lf.lfWeight >= FW_BOLD) style |= fsBold;
    if (lf.lfItalic) style |= fsItalic;
    if (lf.lfUnderline) style |= fsUnderline;
    if (lf.lfStrikeOut) style |= fsStrikeOut;
    chosen.SetStyle(style);
    chosen.SetCharset(lf.lfCharSet);
    if (withColor) chosen.SetColor(static_cast<TColor>(color));
    font_->Assign(&chosen);
}

// ------------------------------------------------------------ registration

void RegisterDialogsClasses() {
    const std::vector<std::pair<std::string, uint32_t>> openOptions = {
        {"ofReadOnly", ofReadOnly},
        {"ofOverwritePrompt", ofOverwritePrompt},
        {"ofHideReadOnly", ofHideReadOnly},
        {"ofNoChangeDir", ofNoChangeDir},
        {"ofShowHelp", ofShowHelp},
        {"ofNoValidate", ofNoValidate},
        {"ofPathMustExist", ofPathMustExist},
        {"ofFileMustExist", ofFileMustExist},
        {"ofCreatePrompt", ofCreatePrompt},
        {"ofShareAware", ofShareAware},
        {"ofNoReadOnlyReturn", ofNoReadOnlyReturn},
        {"ofNoTestFileCreate", ofNoTestFileCreate},
        {"ofNoNetworkButton", ofNoNetworkButton},
        {"ofNoDereferenceLinks", ofNoDereferenceLinks},
        {"ofEnableSizing", ofEnableSizing},
        {"ofDontAddToRecent", ofDontAddToRecent},
        {"ofForceShowHidden", ofForceShowHidden},
    };
    const std::vector<std::pair<std::string, uint32_t>> fontOptions = {
        {"fdAnsiOnly", fdAnsiOnly},
        {"fdTrueTypeOnly", fdTrueTypeOnly},
        {"fdEffects", fdEffects},
        {"fdFixedPitchOnly", fdFixedPitchOnly},
        {"fdForceFontExist", fdForceFontExist},
        {"fdNoFaceSel", fdNoFaceSel},
        {"fdNoOEMFonts", fdNoOEMFonts},
        {"fdNoSimulations", fdNoSimulations},
        {"fdNoSizeSel", fdNoSizeSel},
        {"fdNoStyleSel", fdNoStyleSel},
        {"fdNoVectorFonts", fdNoVectorFonts},
        {"fdShowHelp", fdShowHelp},
        {"fdWysiwyg", fdWysiwyg},
        {"fdLimitSize", fdLimitSize},
        {"fdScalableOnly", fdScalableOnly},
        {"fdApplyButton", fdApplyButton},
    };
    using Value = const FormValue&;
    RegisterClassInfo("TOpenDialog", "TComponent", Factory<TOpenDialog>())
        .Property("Filter", Prop<TOpenDialog>([](TOpenDialog& d, Value v, LoadContext& x) { d.Filter = x.String(v); }))
        .Property("FilterIndex", Prop<TOpenDialog>([](TOpenDialog& d, Value v, LoadContext& x) { d.FilterIndex = x.Int(v); }))
        .Property("InitialDir", Prop<TOpenDialog>([](TOpenDialog& d, Value v, LoadContext& x) { d.InitialDir = x.String(v); }))
        .Property("FileName", Prop<TOpenDialog>([](TOpenDialog& d, Value v, LoadContext& x) { d.FileName = x.String(v); }))
        .Property("Title", Prop<TOpenDialog>([](TOpenDialog& d, Value v, LoadContext& x) { d.Title = x.String(v); }))
        .Property("DefaultExt", Prop<TOpenDialog>([](TOpenDialog& d, Value v, LoadContext& x) { d.DefaultExt = x.String(v); }))
        .Property("Options", Prop<TOpenDialog>([openOptions](TOpenDialog& d, Value v, LoadContext& x) {
            d.Options = x.Set(v, openOptions);
        }));
    RegisterClassInfo("TOpenPictureDialog", "TOpenDialog", Factory<TOpenPictureDialog>());
    RegisterClassInfo("TFontDialog", "TComponent", Factory<TFontDialog>())
        .SubObject("Font", Sub<TFontDialog>([](TFontDialog& d) -> TPersistent* { return d.Font(); }))
        .Property("Options", Prop<TFontDialog>([fontOptions](TFontDialog& d, Value v, LoadContext& x) {
            d.Options = x.Set(v, fontOptions);
        }))
        .Property("MinFontSize", Prop<TFontDialog>([](TFontDialog& d, Value v, LoadContext& x) { d.MinFontSize = x.Int(v); }))
        .Property("MaxFontSize", Prop<TFontDialog>([](TFontDialog& d, Value v, LoadContext& x) { d.MaxFontSize = x.Int(v); }))
        .Property("OnApply", EventProp(&TFontDialog::OnApply));
}

}  // namespace pellix
