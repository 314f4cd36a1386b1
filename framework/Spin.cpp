#include "framework/Spin.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/FormLoader.h"

namespace pellix {

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    SetBoundsFields(0, 0, 121, 22);
    text_ = "0";
}

int TSpinEdit::CheckValue(int value) const {
    if (MaxValue == MinValue) return value;
    return std::clamp(value, MinValue, MaxValue);
}

int TSpinEdit::Value() const {
    int32_t v;
    return TryStrToInt(Text(), v) ? v : MinValue;
}

void TSpinEdit::SetValue(int value) { SetText(IntToStr(CheckValue(value))); }

void TSpinEdit::Step(int direction) {
    if (ReadOnly()) return;
    SetValue(Value() + direction * Increment);
}

void TSpinEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    EnsureCommonControls();
    DWORD style = WS_CHILD | WS_VISIBLE | (Enabled() ? 0 : WS_DISABLED);
    arrows_ = CreateWindowExA(0, UPDOWN_CLASSA, "", style, 0, 0, 0, 0, handle_, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    SendMessageA(arrows_, UDM_SETRANGE32, 0, 100);
    PlaceArrows();
}

void TSpinEdit::PlaceArrows() {
    if (arrows_ == nullptr) return;
    RECT r;
    GetClientRect(handle_, &r);
    const int w = 15;
    SetWindowPos(arrows_, nullptr, r.right - w, 0, w, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(handle_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w + 2));
}

void TSpinEdit::EnabledChanged() {
    TCustomEdit::EnabledChanged();
    if (arrows_ != nullptr && HandleAllocated()) EnableWindow(arrows_, Enabled());
}

void TSpinEdit::DoExit() {
    const int value = Value();
    if (Text() != IntToStr(CheckValue(value))) SetValue(value);
    TCustomEdit::DoExit();
}

void TSpinEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(message.LParam);
        if (hdr->hwndFrom == arrows_ && hdr->code == static_cast<UINT>(UDN_DELTAPOS)) {
            Step(reinterpret_cast<NMUPDOWN*>(message.LParam)->iDelta > 0 ? 1 : -1);
            message.Result = 1;  // the arrows keep no value of their own
            return;
        }
        break;
    }
    case WM_KEYDOWN:
        if (message.WParam == VK_UP || message.WParam == VK_DOWN) {
            Step(message.WParam == VK_UP ? 1 : -1);
            return;
        }
        break;
    case WM_CHAR: {
        // Digits and signs only, as a number field should take.
        char c = static_cast<char>(message.WParam);
        if (!EditorEnabled || (c >= ' ' && !(c >= '0' && c <= '9') && c != '-' && c != '+')) {
            MessageBeep(0);
            return;
        }
        break;
    }
    case WM_SIZE:
        TCustomEdit::Dispatch(message);
        PlaceArrows();
        return;
    default:
        break;
    }
    TCustomEdit::Dispatch(message);
}

void RegisterSpinClasses() {
    RegisterClassInfo("TSpinEdit", "TCustomEdit", Factory<TSpinEdit>())
        .Property("MinValue", Prop<TSpinEdit>([](TSpinEdit& s, const FormValue& v, LoadContext& x) { s.MinValue = x.Int(v); }))
        .Property("MaxValue", Prop<TSpinEdit>([](TSpinEdit& s, const FormValue& v, LoadContext& x) { s.MaxValue = x.Int(v); }))
        .Property("Increment", Prop<TSpinEdit>([](TSpinEdit& s, const FormValue& v, LoadContext& x) { s.Increment = x.Int(v); }))
        .Property("EditorEnabled", Prop<TSpinEdit>([](TSpinEdit& s, const FormValue& v, LoadContext& x) { s.EditorEnabled = x.Bool(v); }))
        .Property("Value", Prop<TSpinEdit>([](TSpinEdit& s, const FormValue& v, LoadContext& x) { s.SetValue(x.Int(v)); }));
}

}  // namespace pellix
