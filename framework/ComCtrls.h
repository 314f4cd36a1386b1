// Common controls: up-down arrows, track bars, progress bars, status bars,
// tool bars and tree views, each over the system's own control.
#pragma once

#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"

namespace pellix {

enum class TUDOrientation { udVertical, udHorizontal };

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);
    std::string ClassName() const override { return "TUpDown"; }

    // Read when the window is made.
    TUDOrientation Orientation = TUDOrientation::udVertical;
    int Min = 0;
    int Max = 100;
    int Position() const;
    void SetPosition(int position);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    int position_ = 0;
};

enum class TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);
    std::string ClassName() const override { return "TTrackBar"; }

    // Read when the window is made.
    TTrackBarOrientation Orientation = TTrackBarOrientation::trHorizontal;
    int Min = 0;
    int Max = 10;
    int Position() const;
    void SetPosition(int position);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    int position_ = 0;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    std::string ClassName() const override { return "TProgressBar"; }

    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    int Position() const { return position_; }
    void SetPosition(int position);
    // Read when the window is made.
    bool Smooth = false;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    int min_ = 0, max_ = 100, position_ = 0;
};

enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

class TStatusPanel : public TCollectionItem {
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
    std::string ClassName() const override { return "TStatusPanel"; }
    void Assign(const TPersistent* source) override;

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel bevel);

private:
    void Changed();

    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
};

// The panels of a status bar; every change reaches the bar's window.
class TStatusPanels : public TOwnedCollection {
public:
    explicit TStatusPanels(TStatusBar* bar);
    std::string ClassName() const override { return "TStatusPanels"; }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
};

// Docked at the bottom. Its panels take their widths from the left; the last
// one reaches the right edge. A simple bar shows SimpleText alone.
class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    std::string ClassName() const override { return "TStatusBar"; }

    TStatusPanels* Panels() const { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);
    // A grip in the corner; changing it makes the window anew.
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);

    // Hands the panels to the window.
    void UpdatePanels();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
};

// A bar of tool buttons along the top of its parent.
class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);
    std::string ClassName() const override { return "TToolBar"; }

    // Buttons without a raised edge until the mouse is over them.
    bool Flat() const { return flat_; }
    void SetFlat(bool value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool flat_ = false;
};

// A tree of items; the framework shows the system's tree view and keeps no
// items of its own.
class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* owner);
    std::string ClassName() const override { return "TCustomTreeView"; }

protected:
    void CreateParams(TCreateParams& params) override;
};

void RegisterComCtrlsClasses();

}  // namespace pellix
