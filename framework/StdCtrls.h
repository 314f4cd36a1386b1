// Standard controls: labels, buttons, check boxes, radio buttons, edits,
// memos, list boxes, group boxes and combo boxes.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "framework/Strings.h"

namespace pellix {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBorderStyle { bsNone, bsSingle };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    std::string ClassName() const override { return "TLabel"; }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Transparent = false;
    bool WordWrap = false;
    bool ShowAccelChar = true;
    TWinControl* FocusControl = nullptr;

    void Paint(HDC dc) override;
    void Loaded() override;

protected:
    void SetText(const std::string& text) override;
    void FontChanged() override { AdjustBounds(); }

private:
    UINT DrawFlags() const;
    void AdjustBounds();

    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool autoSize_ = true;
};

class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);
    std::string ClassName() const override { return "TButtonControl"; }

protected:
    void Dispatch(TMessage& message) override;
    // A click reported by the system control.
    virtual void Clicked() { Click(); }
};

enum class TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);
    std::string ClassName() const override { return "TButton"; }
    bool Default = false;
    bool Cancel = false;
    int ModalResult = 0;
    // What a press does: OnClick, or the form's modal result.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box whose state is the control's own, set by every click.
class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* owner);
    std::string ClassName() const override { return "TCustomCheckBox"; }

    bool Checked() const;
    // Runs OnClick when the state changes, as a press would.
    void SetChecked(bool checked);
    // taLeftJustify puts the text on the left of the box.
    TAlignment Alignment = TAlignment::taRightJustify;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Clicked() override;

private:
    bool checked_ = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
    std::string ClassName() const override { return "TCheckBox"; }
};

// Checking one radio button unchecks the others of the same parent.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);
    std::string ClassName() const override { return "TRadioButton"; }

    bool Checked() const { return checked_; }
    // Checking runs OnClick, as a press would.
    void SetChecked(bool checked);
    TAlignment Alignment = TAlignment::taRightJustify;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Clicked() override;

private:
    bool checked_ = false;
};

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    std::string ClassName() const override { return "TCustomEdit"; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool AutoSelect = true;
    // A framed edit shows a sunken edge, or with Ctl3D off a one-pixel line.
    // The system takes WS_BORDER off an edit's style as it makes the window,
    // so only these tell that an edit has that line.
    TBorderStyle BorderStyle = TBorderStyle::bsSingle;
    bool Ctl3D = true;
    // Framed with a one-pixel line.
    bool HasSingleLineBorder() const { return BorderStyle == TBorderStyle::bsSingle && !Ctl3D; }
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Change();

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    std::string ClassName() const override { return "TEdit"; }
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit; its lines are kept as a list of strings.
class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;
    std::string ClassName() const override { return "TCustomMemo"; }

    // The lines; a window that shows them is kept in step.
    TStrings& Lines() const;
    bool WordWrap = true;
    TScrollStyle ScrollBars = TScrollStyle::ssNone;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void SetText(const std::string& text) override;
    std::string GetText() const override;
    void VisibleChanged() override;

private:
    class Lines_;
    friend class Lines_;
    void ShowLines();
    std::unique_ptr<Lines_> lines_;
    bool syncing_ = false;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
    std::string ClassName() const override { return "TMemo"; }
};

// A list box of the system's, its items kept as a list of strings.
class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;
    std::string ClassName() const override { return "TCustomListBox"; }

    TStrings& Items() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool Sorted = false;
    bool IntegralHeight = false;
    TNotifyEvent OnDblClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    class Items_;
    friend class Items_;
    std::unique_ptr<Items_> items_;
    int itemIndex_ = -1;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
    std::string ClassName() const override { return "TListBox"; }
};

class TCustomGroupBox : public TWinControl {
public:
    explicit TCustomGroupBox(TComponent* owner);
    std::string ClassName() const override { return "TCustomGroupBox"; }

protected:
    void CreateParams(TCreateParams& params) override;
    RECT AlignArea() override;
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
    std::string ClassName() const override { return "TGroupBox"; }
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box of the system's; descendants fill its list.
class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    std::string ClassName() const override { return "TCustomComboBox"; }

    TComboBoxStyle Style = TComboBoxStyle::csDropDown;

protected:
    void CreateParams(TCreateParams& params) override;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;
    std::string ClassName() const override { return "TComboBox"; }

    TStrings& Items() const;
    int ItemIndex() const;
    void SetItemIndex(int index);

protected:
    void CreateWnd() override;

private:
    class Items_;
    std::unique_ptr<Items_> items_;
    int itemIndex_ = -1;
};

// The form that holds a control, or nullptr.
class TCustomForm;
TCustomForm* GetParentForm(TControl* control);

void RegisterStdCtrlsClasses();

}  // namespace pellix
