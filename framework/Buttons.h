// Buttons of a predefined kind.
#pragma once

#include "framework/StdCtrls.h"

namespace pellix {

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    std::string ClassName() const override { return "TBitBtn"; }

    TBitBtnKind Kind() const { return kind_; }
    // A kind gives the button its usual caption and modal result.
    void SetKind(TBitBtnKind kind);
    // The close kind closes its form instead of running OnClick.
    void Click() override;

private:
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

void RegisterButtonsClasses();

}  // namespace pellix
