// Takes over the window procedure of a window that is not one of the
// framework's (frames of plain windows, popup-menu windows, controls attached
// by handle). Every message goes to a handler first, which passes it on to the
// window's previous procedure with CallOld when it wants the usual result.
//
// One procedure serves every such window and finds its object through a
// window property of the engine's own. Detach puts the previous procedure back
// only while ours is still the window's and no message of ours is being
// handled; otherwise ours stays in the chain as a pass-through, so a procedure
// put in front of ours later keeps working. At WM_NCDESTROY the previous
// procedure runs first, then the object is marked as destroyed and told so;
// its owner frees it later, outside the window procedure.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace pellix {

class TWindowSubclass {
public:
    using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;
    using TDestroyedEvent = std::function<void()>;

    TWindowSubclass();
    // Detaches.
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // False, with nothing changed, for a window that does not exist, is held
    // by another object of the engine, or whose procedure cannot be replaced.
    // Errors that leave the handler go to the application's error box.
    bool Attach(HWND window, THandler handler, TDestroyedEvent onDestroyed = {});
    // From now on no message reaches the handler. Safe inside the handler.
    void Detach();
    // The procedure the window had before Attach.
    LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam) const;

    HWND Window() const;
    // Attached and the window not destroyed.
    bool Attached() const;
    // WM_NCDESTROY came while attached.
    bool WindowDestroyed() const;
    // A message of this window is being handled by our procedure now (also
    // after Detach, until that call returns).
    bool InWindowProc() const;

    struct TLink;

private:
    std::shared_ptr<TLink> link_;
};

}  // namespace pellix
