// The list view over the system's "SysListView32", in its report view with
// columns and a header. The skin and the control walk read its window; the
// program's forms do not use it.
#pragma once

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"

namespace pellix {

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* owner);
    std::string ClassName() const override { return "TCustomListView"; }

    // A column of the report view; its header item is aligned as the column.
    void AddColumn(const std::string& caption, int width, TAlignment alignment = TAlignment::taLeftJustify);
    // An item with its caption in the first column.
    void AddItem(const std::string& caption);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    // The window of the column header, or none.
    HWND Header();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    struct Column {
        std::string Caption;
        int Width;
        TAlignment Alignment;
    };
    void InsertColumn(int index, const Column& column);
    void InsertItem(int index, const std::string& caption);

    std::vector<Column> columns_;
    std::vector<std::string> items_;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
    std::string ClassName() const override { return "TListView"; }
};

}  // namespace pellix
