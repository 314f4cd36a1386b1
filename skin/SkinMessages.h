// The private window messages the skin engine's objects send each other.
#pragma once

#include <windows.h>

namespace pellix {

// Repaint the whole skinned frame; posted with wParam 0 and lParam 0.
constexpr UINT SkinMsgRepaint = 0x3502;
// Start a newly attached frame; posted by the manager with wParam 0 and lParam 1000.
constexpr UINT SkinMsgStart = 0x3503;
// Whether a window is skinned: a skinned frame or popup-menu window answers 1.
constexpr UINT SkinMsgQuery = 0x3504;

}  // namespace pellix
