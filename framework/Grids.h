// The grid base: rows and columns of cells with a fixed first row and column,
// scrolled by the window's own scroll bars. The framework draws the fixed
// cells and the background; descendants would draw the cells' contents.
#pragma once

#include <string>

#include "framework/Controls.h"

namespace pellix {

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* owner);
    std::string ClassName() const override { return "TCustomGrid"; }

    // The colour of the fixed row and column.
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor colour);
    int DefaultColWidth = 64;
    int DefaultRowHeight = 24;

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;

private:
    TColor fixedColor_ = clBtnFace;
};

}  // namespace pellix
