// SCAFFOLDING, to be replaced by the real skinned popup menu (see the header).
#include "skin/WinSkinMenu.h"

namespace pellix {

void TWinSkinPopMenu::AttachPopup(HWND window, TSkinData* skinData, HMENU menuHandle) {
    MenuWindow = window;
    PopupSkinData = skinData;
    MenuHandle = menuHandle;
    subclass_.Attach(window, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return PopupWindowProc(msg, wParam, lParam); });
}

void TWinSkinPopMenu::DetachPopup() {
    subclass_.Detach();
    BackgroundBitmap.FreeImage();
}

LRESULT TWinSkinPopMenu::PopupWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SkinMsgQuery) return 1;
    return subclass_.CallOld(msg, wParam, lParam);
}

}  // namespace pellix
