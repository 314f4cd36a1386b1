// The old-style tab set: a row of tabs hanging from its top edge, drawn by
// the control itself, with a scroller that brings hidden tabs into view.
// The skin and the control walk read it; the program's forms do not use it.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "framework/Strings.h"

namespace pellix {

class TTabSet;

// The tab set's arrows: a horizontal up-down whose position is the first tab
// shown.
class TScroller : public TWinControl {
public:
    explicit TScroller(TTabSet* tabSet);
    std::string ClassName() const override { return "TScroller"; }

    // Position range 0..count - 1.
    void SetRange(int count);
    void SetPosition(int position);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    TTabSet* tabSet_;
    int count_ = 0;
    int position_ = 0;
};

class TTabSet : public TCustomControl {
public:
    // The scroller is its first owned component.
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;
    std::string ClassName() const override { return "TTabSet"; }

    TStrings& Tabs() const;
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    // Room before the first tab and after the last.
    int StartMargin = 5;
    int EndMargin = 5;
    // The first tab shown.
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int index);
    TScroller* Scroller() const { return scroller_; }

    // The width of a tab of that text in the tab set's font.
    int TabWidth(const std::string& text) const;
    // Room the scroller takes off the tabs' end while it shows.
    static constexpr int ScrollerRoom = 12;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void PaintWindow(HDC dc) override;

private:
    class Tabs_;
    void TabsChanged();
    // Shows the scroller while some tab is out of view.
    void UpdateScroller();
    bool AllTabsFit();

    std::unique_ptr<Tabs_> tabs_;
    TScroller* scroller_;  // owned as a component
    int tabIndex_ = -1;
    int firstIndex_ = 0;
};

}  // namespace pellix
