// Panels, radio groups, images, bevels and timers.
#pragma once

#include <memory>
#include <type_traits>
#include <vector>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"

namespace pellix {

class TPicture;
class TBitmap;

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// Frames rect width times, one pixel ring inside the other: top and left
// edges in topColor, right and bottom edges (with the top-right and
// bottom-left corners) in bottomColor. Rect comes back shrunk by width on
// each side. The canvas's pen and brush are left as they were.
void Frame3D(TCanvas& canvas, RECT& rect, TColor topColor, TColor bottomColor, int width);

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);
    std::string ClassName() const override { return "TCustomPanel"; }

    TPanelBevel BevelOuter = TPanelBevel::bvRaised;
    TPanelBevel BevelInner = TPanelBevel::bvNone;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TAlignment Alignment = TAlignment::taCenter;

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
    RECT AlignArea() override;
    void SetText(const std::string& text) override;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    std::string ClassName() const override { return "TPanel"; }
};

// A group box of radio buttons, one per line of Items, stacked in its
// client area; the group owns them.
class TCustomRadioGroup : public TCustomGroupBox {
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;
    std::string ClassName() const override { return "TCustomRadioGroup"; }

    // Changing the lines makes the buttons anew.
    TStrings& Items() const;
    // The checked button's line; -1 for none.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

protected:
    void CreateWnd() override;
    void AlignControls() override;

private:
    class Items_;
    void UpdateButtons();
    void ButtonClicked(TObject* sender);

    std::unique_ptr<Items_> items_;
    std::vector<class TRadioButton*> buttons_;  // owned by this group as components
    int itemIndex_ = -1;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    using TCustomRadioGroup::TCustomRadioGroup;
    std::string ClassName() const override { return "TRadioGroup"; }
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    std::string ClassName() const override { return "TImage"; }

    TPicture* Picture() const { return picture_.get(); }
    bool Stretch = false;
    bool Center = false;
    bool Proportional = false;
    // Given to every picture it holds, as the picture's own setting.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    void Paint(HDC dc) override;
    // Where the picture lands inside the control.
    RECT DestRect() const;

private:
    void ApplyTransparent();
    // The picture at the size it is painted, made once per picture and size.
    const TBitmap* Preview(const RECT& dest);

    std::unique_ptr<TPicture> picture_;
    bool transparent_ = false;
    std::unique_ptr<TBitmap> preview_;
};

enum class TBevelShape { bsBox, bsTopLine, bsBottomLine };
enum class TBevelStyle { bsLowered, bsRaised };

// An etched box or line that separates parts of a form.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    std::string ClassName() const override { return "TBevel"; }

    TBevelShape Shape = TBevelShape::bsBox;
    TBevelStyle Style = TBevelStyle::bsLowered;
    void Paint(HDC dc) override;
};

// Calls OnTimer every Interval milliseconds while it is enabled, from any
// message loop of its thread (modal boxes and menus included). An error that
// leaves OnTimer goes to the application's error box.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    std::string ClassName() const override { return "TTimer"; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    uint32_t Interval() const { return interval_; }
    // Starts the wait anew while enabled.
    void SetInterval(uint32_t interval);
    TNotifyEvent OnTimer;

private:
    static LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void UpdateTimer();
    void Tick();

    struct TWindowFree {
        void operator()(HWND window) const { DestroyWindow(window); }
    };
    std::unique_ptr<std::remove_pointer_t<HWND>, TWindowFree> window_;
    bool enabled_ = true;
    uint32_t interval_ = 1000;
};

void RegisterExtCtrlsClasses();

}  // namespace pellix
