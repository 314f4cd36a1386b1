// An edit for whole numbers with up and down arrows.
#pragma once

#include "framework/StdCtrls.h"

namespace pellix {

class TSpinEdit : public TCustomEdit {
public:
    explicit TSpinEdit(TComponent* owner);
    std::string ClassName() const override { return "TSpinEdit"; }

    int MinValue = 0;
    int MaxValue = 0;  // equal limits mean no limit
    int Increment = 1;
    bool EditorEnabled = true;

    // The text as a number; text that is no number reads as MinValue.
    int Value() const;
    // Shows value, corrected to the limits.
    void SetValue(int value);
    int CheckValue(int value) const;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    // Leaving the edit corrects a value outside the limits.
    void DoExit() override;
    // The arrows go with the edit.
    void EnabledChanged() override;

private:
    void Step(int direction);
    void PlaceArrows();
    HWND arrows_ = nullptr;
};

void RegisterSpinClasses();

}  // namespace pellix
