// Panels and images.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"

namespace pellix {

class TPicture;

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);
    std::string ClassName() const override { return "TPanel"; }

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

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    std::string ClassName() const override { return "TImage"; }

    TPicture* Picture() const { return picture_.get(); }
    bool Stretch = false;
    bool Center = false;
    bool Proportional = false;
    void Paint(HDC dc) override;
    // Where the picture lands inside the control.
    RECT DestRect() const;

private:
    std::unique_ptr<TPicture> picture_;
};

void RegisterExtCtrlsClasses();

}  // namespace pellix
