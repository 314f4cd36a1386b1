// SCAFFOLDING, to be replaced by the real skinned popup menu.
//
// This popup skin only marks its "#32768" window as skinned (it answers
// SkinMsgQuery with 1) and carries the names the skin manager uses, so that
// the manager's popup list can be built and tested before the menus exist.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Graphics.h"
#include "skin/SkinMessages.h"
#include "skin/WindowSubclass.h"

namespace pellix {

class TSkinData;

class TWinSkinPopMenu : public TObject {
public:
    TWinSkinPopMenu() = default;
    std::string ClassName() const override { return "TWinSkinPopMenu"; }

    void AttachPopup(HWND window, TSkinData* skinData, HMENU menuHandle);
    // Calling it again does nothing.
    void DetachPopup();
    bool InWindowProc() const { return subclass_.InWindowProc(); }

    HWND MenuWindow = nullptr;
    TSkinData* PopupSkinData = nullptr;
    // The last painted background, window-sized.
    TBitmap BackgroundBitmap;
    // 0 until an owner-drawn item reports it.
    HMENU MenuHandle = nullptr;

private:
    LRESULT PopupWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    TWindowSubclass subclass_;
};

}  // namespace pellix
