// Tab controls over the system's "SysTabControl32": one with a list of tabs
// (TTabControl) and one whose tabs are its pages (TPageControl). The skin
// and the control walk read their windows; the program's forms do not use
// them.
#pragma once

#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/Strings.h"

namespace pellix {

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

class TCustomTabControl : public TWinControl {
public:
    explicit TCustomTabControl(TComponent* owner);
    std::string ClassName() const override { return "TCustomTabControl"; }

    TTabPosition TabPosition() const { return tabPosition_; }
    // Makes the window anew when it exists: the side is a style.
    void SetTabPosition(TTabPosition position);
    // The selected tab, -1 for none.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    // The area inside the page border, in client coordinates.
    RECT DisplayRect();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    RECT AlignArea() override { return DisplayRect(); }
    // The tabs as the window is to show them.
    virtual int TabCount() const = 0;
    virtual std::string TabCaption(int index) const = 0;
    // The selected tab changed.
    virtual void Change() {}

    void InsertTabItem(int index, const std::string& caption);
    void DeleteTabItem(int index);
    void SetTabItemCaption(int index, const std::string& caption);

private:
    TTabPosition tabPosition_ = TTabPosition::tpTop;
    int tabIndex_ = -1;
};

class TTabControl : public TCustomTabControl {
public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;
    std::string ClassName() const override { return "TTabControl"; }

    // The tabs; a window that shows them is kept in step.
    TStrings& Tabs() const;

protected:
    int TabCount() const override;
    std::string TabCaption(int index) const override;

private:
    class Tabs_;
    std::unique_ptr<Tabs_> tabs_;
};

class TPageControl;

// A page of a page control; its caption is its tab.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    std::string ClassName() const override { return "TTabSheet"; }

    TPageControl* PageControl() const { return pageControl_; }
    // Puts the sheet on a page control (its last page) or takes it off.
    void SetPageControl(TPageControl* pageControl);

protected:
    void SetText(const std::string& text) override;

private:
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    std::string ClassName() const override { return "TPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
    // The page shown; only it is visible.
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);

protected:
    int TabCount() const override { return PageCount(); }
    std::string TabCaption(int index) const override;
    void Change() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PageCaptionChanged(TTabSheet* page);
    void ShowActivePage();

    std::vector<TTabSheet*> pages_;  // not owned
};

}  // namespace pellix
