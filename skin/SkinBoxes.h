// Control skins of status bars and containers. The status-bar skin paints
// the bar completely: face, panels from the skin's "StatusBarEdges" image
// (or plain 3-D frames), their texts, and a size grip from "ExtraImages".
// The box skin only gives a container the skin's face colour while skinned.
#pragma once

#include <windows.h>

#include <string>

#include "framework/StdCtrls.h"
#include "skin/WinSubClass.h"

namespace pellix {

// A panel's look: a frame of the "StatusBarEdges" image, or the plain frame
// drawn in its place.
enum class TPanelFrame { Lowered = 1, Raised = 2, None = 3 };

class TSkinStatusBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinStatusBar"; }

    // Paints itself: the bar's own painting never runs.
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
    // One panel into the shared scratch bitmap, its text in the work canvas's
    // font and colour.
    void DrawImagePanel(const RECT& rect, TAlignment alignment, const std::string& text, TPanelFrame frame);
    void Draw3DPanel(const RECT& rect, TAlignment alignment, const std::string& text, TPanelFrame frame);
};

class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinBox"; }

    // Gives the control the face colour (when setFaceColour) and joins the
    // host's list; the control's messages are left alone.
    void AttachControl(TWinControl* control, TSkinData* skinData, bool setFaceColour, TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

protected:
    // A control freed while attached is forgotten: its colour goes with it.
    void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace pellix
