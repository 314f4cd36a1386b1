// Tab controls, list headers and tab sets drawn from the skin.
//
// TSkinHeader paints a list view's header completely from the "Headerbar"
// element: every column item with its icon and text, and the empty part
// right of the last column.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin/WinSubClass.h"

namespace pellix {

// The drawing routine's alignment for a header item's format: HDF_RIGHT and
// HDF_CENTER in the low byte, anything else left.
TIconTextAlign HeaderItemAlign(int format);

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinHeader"; }

    // Also joins the host's ControlSkins.
    void AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas) override;
    // The background erase is kept while the skin can paint the header.
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    void DrawItem(TCanvas& canvas, HIMAGELIST images, int index, const RECT& rect);
};

}  // namespace pellix
