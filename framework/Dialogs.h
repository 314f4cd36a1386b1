// Message boxes and the common dialogs the program uses.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace pellix {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint32_t { mbOK = 1 };
using TMsgDlgButtons = uint32_t;

// The plain message: the application's title, the text and an OK button.
void ShowMessage(const std::string& text);
// A "TMessageForm" with the type's icon and title; returns the modal result
// (TModalResult's values).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// When set, ShowMessage and MessageDlg hand their box to it instead of
// showing it: tests see the box without a modal loop waiting for a click.
using TMessageBoxHook = std::function<int(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)>;
extern TMessageBoxHook MessageBoxHook;

// The box of MessageDlg, laid out for its text: components "Image" (none for
// mtCustom), "Message" (a TLabel) and one TButton per kind asked for ("OK").
class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
    std::string ClassName() const override { return "TMessageForm"; }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void Layout(bool hasIcon);

    HWND owner_ = nullptr;
};

// The values are the dialog's own OFN_ flags.
enum TOpenOption : uint32_t {
    ofReadOnly = OFN_READONLY,
    ofOverwritePrompt = OFN_OVERWRITEPROMPT,
    ofHideReadOnly = OFN_HIDEREADONLY,
    ofNoChangeDir = OFN_NOCHANGEDIR,
    ofShowHelp = OFN_SHOWHELP,
    ofNoValidate = OFN_NOVALIDATE,
    ofPathMustExist = OFN_PATHMUSTEXIST,
    ofFileMustExist = OFN_FILEMUSTEXIST,
    ofCreatePrompt = OFN_CREATEPROMPT,
    ofShareAware = OFN_SHAREAWARE,
    ofNoReadOnlyReturn = OFN_NOREADONLYRETURN,
    ofNoTestFileCreate = OFN_NOTESTFILECREATE,
    ofNoNetworkButton = OFN_NONETWORKBUTTON,
    ofNoDereferenceLinks = OFN_NODEREFERENCELINKS,
    ofEnableSizing = OFN_ENABLESIZING,
    ofDontAddToRecent = OFN_DONTADDTORECENT,
    ofForceShowHidden = OFN_FORCESHOWHIDDEN,
};
using TOpenOptions = uint32_t;

// Chooses one file to open.
class TOpenDialog : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TOpenDialog"; }

    // "Description|mask|Description|mask".
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    // Set before Execute to suggest a name; after it, the chosen full path.
    std::string FileName;
    std::string Title;
    std::string DefaultExt;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;

    // False when the user cancels.
    virtual bool Execute();
};

// An open dialog for every picture kind the program reads.
class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* owner);
    std::string ClassName() const override { return "TOpenPictureDialog"; }
};

// The values are the dialog's own CF_ flags.
enum TFontDialogOption : uint32_t {
    fdAnsiOnly = CF_ANSIONLY,
    fdTrueTypeOnly = CF_TTONLY,
    fdEffects = CF_EFFECTS,
    fdFixedPitchOnly = CF_FIXEDPITCHONLY,
    fdForceFontExist = CF_FORCEFONTEXIST,
    fdNoFaceSel = CF_NOFACESEL,
    fdNoOEMFonts = CF_NOOEMFONTS,
    fdNoSimulations = CF_NOSIMULATIONS,
    fdNoSizeSel = CF_NOSIZESEL,
    fdNoStyleSel = CF_NOSTYLESEL,
    fdNoVectorFonts = CF_NOVECTORFONTS,
    fdShowHelp = CF_SHOWHELP,
    fdWysiwyg = CF_WYSIWYG,
    fdLimitSize = CF_LIMITSIZE,
    fdScalableOnly = CF_SCALABLEONLY,
    fdApplyButton = CF_APPLY,
};
using TFontDialogOptions = uint32_t;

// Wnd is the dialog's window.
using TFDApplyEvent = std::function<void(TObject* sender, HWND wnd)>;

class TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* owner);
    ~TFontDialog() override;
    std::string ClassName() const override { return "TFontDialog"; }

    // The dialog starts from it; OK and Apply put the selection into it.
    TFont* Font() const { return font_.get(); }
    TFontDialogOptions Options = fdEffects;
    // Points; used with fdLimitSize.
    int MinFontSize = 0;
    int MaxFontSize = 0;
    // When bound, the dialog shows its Apply button; each press takes the
    // current selection into Font, then calls it.
    TFDApplyEvent OnApply;

    // False when the user cancels.
    bool Execute();

private:
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    void Apply(HWND dialog);
    void TakeLogFont(const LOGFONTA& logFont, bool withColor, COLORREF color);

    std::unique_ptr<TFont> font_;
};

// Makes the dialogs known to form descriptions.
void RegisterDialogsClasses();

}  // namespace pellix
