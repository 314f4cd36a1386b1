#include "framework/Buttons.h"

#include "framework/FormLoader.h"

namespace pellix {

namespace {

struct KindDefaults {
    const char* caption;
    int modalResult;
};

// Captions and modal results (mrOk 1, mrCancel 2, mrAbort 3, mrRetry 4,
// mrIgnore 5, mrYes 6, mrNo 7, mrAll 8) of the predefined kinds.
const KindDefaults kKinds[] = {
    {"", 0},       {"OK", 1},        {"Cancel", 2}, {"&Help", 0},   {"&Yes", 6},  {"&No", 7},
    {"&Close", 0}, {"Abort", 3},     {"&Retry", 4}, {"&Ignore", 5}, {"&All", 8},
};

}  // namespace

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    const KindDefaults& d = kKinds[static_cast<int>(kind)];
    if (kind != TBitBtnKind::bkCustom) {
        if (Caption().empty()) SetCaption(d.caption);
        ModalResult = d.modalResult;
    }
}

void TBitBtn::Click() {
    if (kind_ == TBitBtnKind::bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void RegisterButtonsClasses() {
    RegisterClassInfo("TBitBtn", "TButton", Factory<TBitBtn>())
        .Property("Kind", Prop<TBitBtn>([](TBitBtn& b, const FormValue& v, LoadContext& x) {
            b.SetKind(static_cast<TBitBtnKind>(x.Enum(
                v, {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"})));
        }));
}

}  // namespace pellix
