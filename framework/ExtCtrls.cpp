#include "framework/ExtCtrls.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Streams.h"

namespace pellix {

// ------------------------------------------------------------------ TTimer

namespace {

constexpr char kTimerWindowClass[] = "PellixTimerWindow";
constexpr UINT_PTR kTimerId = 1;

void RegisterTimerWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTimerWindowClass;
        return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) throw EComponentError("Cannot register window class " + std::string(kTimerWindowClass));
}

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    RegisterTimerWindowClass(&TTimer::TimerWindowProc);
    // A message-only window: it receives the ticks wherever the thread's
    // messages are dispatched, and is never shown or activated.
    window_.reset(CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    if (!window_) throw EComponentError("Cannot create the timer's window");
    SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateTimer();
}

TTimer::~TTimer() {
    KillTimer(window_.get(), kTimerId);
    SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t interval) {
    interval_ = interval;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(window_.get(), kTimerId);
    if (enabled_ && interval_ > 0 && SetTimer(window_.get(), kTimerId, interval_, nullptr) == 0)
        throw EComponentError("Not enough timers available");
}

void TTimer::Tick() {
    // A handler may free the timer: it runs from a copy.
    TNotifyEvent handler = OnTimer;
    if (!handler) return;
    try {
        handler(this);
    } catch (const std::exception& e) {
        Application->HandleException(this, e);
    }
}

LRESULT CALLBACK TTimer::TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kTimerId) {
        if (auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) timer->Tick();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ------------------------------------------------------------------ TPanel

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    SetParentColor(true);
    SetBoundsFields(0, 0, 185, 41);
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomPanel::SetText(const std::string& text) {
    text_ = text;
    Invalidate();
}

namespace {

struct BrushFree {
    void operator()(HBRUSH brush) const { DeleteObject(brush); }
};
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, BrushFree>;

void Bevel(HDC dc, RECT& r, TPanelBevel bevel, int width) {
    if (bevel == TPanelBevel::bvNone) return;
    TColor topLeft = bevel == TPanelBevel::bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottomRight = bevel == TPanelBevel::bvLowered ? clBtnHighlight : clBtnShadow;
    if (bevel == TPanelBevel::bvSpace) topLeft = bottomRight = clBtnFace;
    TCanvas canvas(dc);
    Frame3D(canvas, r, topLeft, bottomRight, width);
}

}  // namespace

void Frame3D(TCanvas& canvas, RECT& rect, TColor topColor, TColor bottomColor, int width) {
    HDC dc = canvas.BareHandle();
    BrushHandle top(CreateSolidBrush(ColorToRGB(topColor)));
    BrushHandle bottom(CreateSolidBrush(ColorToRGB(bottomColor)));
    for (int i = 0; i < width; ++i) {
        const RECT& r = rect;
        RECT edges[] = {{r.left, r.top, r.right, r.top + 1}, {r.left, r.top, r.left + 1, r.bottom},
                        {r.left, r.bottom - 1, r.right, r.bottom}, {r.right - 1, r.top, r.right, r.bottom}};
        FillRect(dc, &edges[0], top.get());
        FillRect(dc, &edges[1], top.get());
        FillRect(dc, &edges[2], bottom.get());
        FillRect(dc, &edges[3], bottom.get());
        InflateRect(&rect, -1, -1);
    }
}

void TCustomPanel::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    Bevel(dc, r, BevelOuter, BevelWidth);
    InflateRect(&r, -BorderWidth, -BorderWidth);
    Bevel(dc, r, BevelInner, BevelWidth);
    if (text_.empty()) return;
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    flags |= Alignment == TAlignment::taCenter ? DT_CENTER : Alignment == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawTextA(dc, text_.c_str(), -1, &r, flags);
    SelectObject(dc, old);
}

RECT TCustomPanel::AlignArea() {
    RECT r = ClientRect();
    int inset = BorderWidth + (BevelOuter != TPanelBevel::bvNone ? BevelWidth : 0) +
                (BevelInner != TPanelBevel::bvNone ? BevelWidth : 0);
    InflateRect(&r, -inset, -inset);
    return r;
}

// ------------------------------------------------------- TCustomRadioGroup

class TCustomRadioGroup::Items_ : public TStringList {
public:
    explicit Items_(TCustomRadioGroup& group) : group_(group) {}
    void Insert(int index, const std::string& s) override {
        TStringList::Insert(index, s);
        group_.UpdateButtons();
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        group_.UpdateButtons();
    }
    void Clear() override {
        TStringList::Clear();
        group_.UpdateButtons();
    }

private:
    TCustomRadioGroup& group_;
};

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<Items_>(*this)) {}

TCustomRadioGroup::~TCustomRadioGroup() = default;

TStrings& TCustomRadioGroup::Items() const { return *items_; }

void TCustomRadioGroup::SetItemIndex(int index) {
    itemIndex_ = index;
    for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetChecked(static_cast<int>(i) == index);
}

void TCustomRadioGroup::UpdateButtons() {
    for (TRadioButton* button : buttons_) TComponent::Free(button);
    buttons_.clear();
    for (int i = 0; i < items_->Count(); ++i) {
        auto* button = new TRadioButton(this);  // owned by the group
        button->SetCaption(items_->Get(i));
        button->SetParentColor(true);
        button->OnClick = [this](TObject* sender) { ButtonClicked(sender); };
        button->SetParent(this);
        buttons_.push_back(button);
    }
    if (itemIndex_ >= 0 && itemIndex_ < static_cast<int>(buttons_.size())) buttons_[itemIndex_]->SetChecked(true);
    AlignControls();
}

void TCustomRadioGroup::ButtonClicked(TObject* sender) {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i] == sender && buttons_[i]->Checked()) itemIndex_ = static_cast<int>(i);
    if (!Loading()) Click();
}

void TCustomRadioGroup::CreateWnd() {
    TCustomGroupBox::CreateWnd();
    AlignControls();
}

void TCustomRadioGroup::AlignControls() {
    TCustomGroupBox::AlignControls();
    if (buttons_.empty() || !HandleAllocated()) return;
    // One line each, spread over the area below the caption.
    RECT area = AlignArea();
    InflateRect(&area, -7, -2);
    const int count = static_cast<int>(buttons_.size());
    const int line = std::max(1, static_cast<int>(area.bottom - area.top) / count);
    for (int i = 0; i < count; ++i)
        buttons_[i]->SetBounds(area.left, area.top + i * line + (line - 17) / 2, area.right - area.left, 17);
}

// ------------------------------------------------------------------ TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    SetBoundsFields(0, 0, 105, 105);
    picture_->OnChange = [this](TObject*) {
        preview_.reset();
        ApplyTransparent();
        Invalidate();
    };
}

void TImage::SetTransparent(bool transparent) {
    transparent_ = transparent;
    ApplyTransparent();
    Invalidate();
}

void TImage::ApplyTransparent() {
    // Icons and metafiles carry their own transparency.
    TGraphic* graphic = picture_->Graphic();
    if (graphic == nullptr || dynamic_cast<TMetafile*>(graphic) != nullptr || dynamic_cast<TIcon*>(graphic) != nullptr)
        return;
    graphic->SetTransparent(transparent_);
}

TImage::~TImage() = default;

RECT TImage::DestRect() const {
    int pw = picture_->Width(), ph = picture_->Height();
    int cw = Width(), ch = Height();
    if (Stretch) {
        if (!Proportional || pw == 0 || ph == 0) return RECT{0, 0, cw, ch};
        // Fit inside, keeping the picture's shape.
        double ratio = static_cast<double>(pw) / ph;
        int w = cw, h = static_cast<int>(cw / ratio);
        if (h > ch) {
            h = ch;
            w = static_cast<int>(ch * ratio);
        }
        pw = w;
        ph = h;
    }
    RECT r{0, 0, pw, ph};
    if (Center || (Stretch && Proportional)) OffsetRect(&r, (cw - pw) / 2, (ch - ph) / 2);
    return r;
}

namespace {

// Averages up to 4 x 4 samples of the source area behind each target pixel:
// a smooth preview for a fraction of what stretching the whole picture costs.
void ShrinkInto(const TBitmap& source, TBitmap& target) {
    const int sw = source.Width(), sh = source.Height();
    const int tw = target.Width(), th = target.Height();
    std::vector<int> xs;  // per target column: first sample column and step count
    for (int x = 0; x < tw; ++x) {
        int x0 = static_cast<int>(static_cast<int64_t>(x) * sw / tw);
        int x1 = std::max(x0 + 1, static_cast<int>(static_cast<int64_t>(x + 1) * sw / tw));
        int n = std::min(4, x1 - x0);
        for (int k = 0; k < 4; ++k) xs.push_back(k < n ? x0 + (x1 - x0) * k / n : -1);
    }
    const uint8_t* base = source.ScanLine(0);
    const ptrdiff_t step = source.RowStep();
    for (int y = 0; y < th; ++y) {
        int y0 = static_cast<int>(static_cast<int64_t>(y) * sh / th);
        int y1 = std::max(y0 + 1, static_cast<int>(static_cast<int64_t>(y + 1) * sh / th));
        int rows = std::min(4, y1 - y0);
        const uint8_t* in[4];
        for (int r = 0; r < rows; ++r) in[r] = base + step * (y0 + (y1 - y0) * r / rows);
        uint8_t* out = target.ScanLine(y);
        for (int x = 0; x < tw; ++x) {
            unsigned sum[3] = {0, 0, 0};
            unsigned count = 0;
            const int* sx = &xs[static_cast<size_t>(x) * 4];
            for (int r = 0; r < rows; ++r) {
                for (int k = 0; k < 4 && sx[k] >= 0; ++k) {
                    const uint8_t* p = in[r] + 3 * sx[k];
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) out[3 * x + c] = static_cast<uint8_t>(sum[c] / count);
        }
    }
}

}  // namespace

const TBitmap* TImage::Preview(const RECT& dest) {
    TGraphic* graphic = picture_->Graphic();
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    // Pictures drawn at their own size, transparent ones and those without
    // pixels of their own draw themselves.
    if (graphic->Transparent() || w <= 0 || h <= 0 || (w == graphic->Width() && h == graphic->Height())) return nullptr;
    const TBitmap* pixels = graphic->Pixels();
    if (pixels == nullptr || pixels->PixelFormat() != TPixelFormat::pf24bit) return nullptr;
    if (!preview_ || preview_->Width() != w || preview_->Height() != h) {
        auto made = std::make_unique<TBitmap>();
        made->SetPixelFormat(TPixelFormat::pf24bit);
        made->SetSize(w, h);
        ShrinkInto(*pixels, *made);
        preview_ = std::move(made);
    }
    return preview_.get();
}

void TImage::Paint(HDC dc) {
    TGraphic* graphic = picture_->Graphic();
    if (graphic == nullptr) return;
    try {
        if (graphic->Empty()) return;
        TCanvas canvas(dc);
        const RECT dest = DestRect();
        if (const TBitmap* preview = Preview(dest)) preview->Draw(canvas, dest);
        else graphic->Draw(canvas, dest);
    } catch (const EOutOfResources&) {
        // A picture too large to decode paints nothing: an error box on every
        // paint would never end, and its thumbnail shows the error image.
    }
}

// ------------------------------------------------------------------ TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBoundsFields(0, 0, 50, 50); }

void TBevel::Paint(HDC dc) {
    TColor dark = clBtnShadow, light = clBtnHighlight;
    if (Style == TBevelStyle::bsRaised) std::swap(dark, light);
    const int w = Width(), h = Height();
    auto line = [dc](TColor color, RECT r) {
        HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    };
    switch (Shape) {
    case TBevelShape::bsBox:
        line(dark, {0, 0, w, 1});
        line(dark, {0, 0, 1, h});
        line(light, {0, h - 1, w, h});
        line(light, {w - 1, 0, w, h});
        break;
    case TBevelShape::bsTopLine:
        line(dark, {0, 0, w, 1});
        line(light, {0, 1, w, 2});
        break;
    case TBevelShape::bsBottomLine:
        line(dark, {0, h - 2, w, h - 1});
        line(light, {0, h - 1, w, h});
        break;
    }
}

// ------------------------------------------------------------ registration

void RegisterExtCtrlsClasses() {
    auto bevel = [](LoadContext& x, const FormValue& v) {
        return static_cast<TPanelBevel>(x.Enum(v, {"bvNone", "bvLowered", "bvRaised", "bvSpace"}));
    };
    RegisterClassInfo("TCustomPanel", "TCustomControl")
        .Property("BevelOuter", Prop<TCustomPanel>([bevel](TCustomPanel& p, const FormValue& v, LoadContext& x) { p.BevelOuter = bevel(x, v); }))
        .Property("BevelInner", Prop<TCustomPanel>([bevel](TCustomPanel& p, const FormValue& v, LoadContext& x) { p.BevelInner = bevel(x, v); }))
        .Property("BevelWidth", Prop<TCustomPanel>([](TCustomPanel& p, const FormValue& v, LoadContext& x) { p.BevelWidth = x.Int(v); }))
        .Property("BorderWidth", Prop<TCustomPanel>([](TCustomPanel& p, const FormValue& v, LoadContext& x) { p.BorderWidth = x.Int(v); }))
        .Property("Alignment", Prop<TCustomPanel>([](TCustomPanel& p, const FormValue& v, LoadContext& x) {
            p.Alignment = static_cast<TAlignment>(x.Enum(v, {"taLeftJustify", "taRightJustify", "taCenter"}));
        }));
    RegisterClassInfo("TPanel", "TCustomPanel", Factory<TPanel>());
    RegisterClassInfo("TCustomRadioGroup", "TCustomGroupBox")
        .Property("Items.Strings", Prop<TCustomRadioGroup>([](TCustomRadioGroup& g, const FormValue& v, LoadContext& x) {
            for (const std::string& item : x.Strings(v)) g.Items().Add(item);
        }))
        .Property("ItemIndex", Prop<TCustomRadioGroup>([](TCustomRadioGroup& g, const FormValue& v, LoadContext& x) { g.SetItemIndex(x.Int(v)); }));
    RegisterClassInfo("TRadioGroup", "TCustomRadioGroup", Factory<TRadioGroup>());
    RegisterClassInfo("TImage", "TGraphicControl", Factory<TImage>())
        .Property("Stretch", Prop<TImage>([](TImage& i, const FormValue& v, LoadContext& x) { i.Stretch = x.Bool(v); }))
        .Property("Center", Prop<TImage>([](TImage& i, const FormValue& v, LoadContext& x) { i.Center = x.Bool(v); }))
        .Property("Proportional", Prop<TImage>([](TImage& i, const FormValue& v, LoadContext& x) { i.Proportional = x.Bool(v); }))
        .Property("Transparent", Prop<TImage>([](TImage& i, const FormValue& v, LoadContext& x) { i.SetTransparent(x.Bool(v)); }))
        // A picture file embedded beside the description; its extension names its kind.
        .Property("Picture", Prop<TImage>([](TImage& i, const FormValue& v, LoadContext& x) {
            if (v.kind != FormValue::Kind::FileRef) x.Fail(v.line, "expected a picture file, as @'name.ext'");
            std::vector<uint8_t> bytes = x.Binary(v);
            std::string ext = v.text.substr(v.text.find_last_of('.') == std::string::npos ? v.text.size() : v.text.find_last_of('.'));
            std::unique_ptr<TGraphic> graphic = GraphicForExtension(ext);
            if (!graphic) x.Fail(v.line, "no picture kind for '" + v.text + "'");
            TMemoryStream stream;
            stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
            stream.SetPosition(0);
            graphic->LoadFromStream(stream);
            i.Picture()->SetGraphic(graphic.get());
        }));
    RegisterClassInfo("TBevel", "TGraphicControl", Factory<TBevel>())
        .Property("Shape", Prop<TBevel>([](TBevel& b, const FormValue& v, LoadContext& x) {
            b.Shape = static_cast<TBevelShape>(x.Enum(v, {"bsBox", "bsTopLine", "bsBottomLine"}));
        }))
        .Property("Style", Prop<TBevel>([](TBevel& b, const FormValue& v, LoadContext& x) {
            b.Style = static_cast<TBevelStyle>(x.Enum(v, {"bsLowered", "bsRaised"}));
        }));
}

}  // namespace pellix
