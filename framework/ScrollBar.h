// The scroll-bar control: a window that is one bar, over the system's
// "SCROLLBAR" class (registered as "TScrollBar", never as "ScrollBar").
#pragma once

#include "framework/Controls.h"

namespace pellix {

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* owner);
    std::string ClassName() const override { return "TScrollBar"; }

    TScrollBarKind Kind() const { return kind_; }
    // Makes the window anew when it exists.
    void SetKind(TScrollBarKind kind);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    // Min <= Max; the position is kept inside the range.
    void SetParams(int position, int min, int max);
    void SetPosition(int position) { SetParams(position, min_, max_); }
    void SetPageSize(int pageSize);
    int SmallChange = 1;
    int LargeChange = 1;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    // The position a scroll code moves to from the current one.
    int PositionAfter(WORD code) const;
    // The highest position the page leaves room for.
    int LastPosition() const;
    void UpdateBar();

    TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
};

}  // namespace pellix
