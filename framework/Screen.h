// The screen object: the program's forms, the active one, and the cursor
// shown over all of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/SysUtils.h"

namespace pellix {

class TCustomForm;

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crHourGlass = -11;

class TScreen : public TObject {
public:
    TScreen() = default;
    ~TScreen() override;
    std::string ClassName() const override { return "TScreen"; }

    TCursor Cursor() const { return cursor_; }
    // Shown at once; crDefault gives the window under the pointer its own again.
    void SetCursor(TCursor cursor);
    static HCURSOR CursorHandle(TCursor cursor);

    // In the order they were created.
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(index); }
    TCustomForm* ActiveForm() const { return activeForm_; }

    // The font the system draws menus in (its non-client metrics), read
    // again at every call so a changed setting shows; the platform's default
    // font when the metrics cannot be read.
    TFont* MenuFont();

    // Kept up by the forms themselves.
    static void FormCreated(TCustomForm* form);
    static void FormDestroyed(TCustomForm* form);
    static void FormActivated(TCustomForm* form);

private:
    TCursor cursor_ = crDefault;
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TFont menuFont_;
    LOGFONTA menuLogFont_{};
    bool menuFontRead_ = false;
};

extern TScreen* const Screen;

}  // namespace pellix
