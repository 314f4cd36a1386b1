#include "skin/WindowSubclass.h"

#include <unordered_map>
#include <utility>

#include "framework/Forms.h"

namespace pellix {

// What the window holds while our procedure is in its chain. The owner drops
// its part (owner null) at Detach; the window's part goes when the previous
// procedure is back or the window is destroyed.
struct TWindowSubclass::TLink {
    HWND Window = nullptr;
    WNDPROC OldProc = nullptr;
    THandler Handler;
    TDestroyedEvent OnDestroyed;
    const TWindowSubclass* Owner = nullptr;
    int Depth = 0;  // calls of our procedure now running for this window
    bool Destroyed = false;
};

namespace {

using TLink = TWindowSubclass::TLink;

constexpr char kLinkProp[] = "PellixSkinSubclass";

// Keeps every link alive while its window holds it.
std::unordered_map<const TLink*, std::shared_ptr<TLink>>& WindowLinks() {
    static std::unordered_map<const TLink*, std::shared_ptr<TLink>> links;
    return links;
}

std::shared_ptr<TLink> LinkOf(HWND window) {
    auto* raw = static_cast<const TLink*>(GetPropA(window, kLinkProp));
    if (raw == nullptr) return nullptr;
    auto found = WindowLinks().find(raw);
    return found == WindowLinks().end() ? nullptr : found->second;
}

void ForgetLink(TLink& link) {
    RemovePropA(link.Window, kLinkProp);
    WindowLinks().erase(&link);
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A link its owner let go: its procedure comes back out of the chain when
// nothing of ours runs and ours is still the window's first procedure.
void SettleDetached(TLink& link) {
    if (link.Owner != nullptr || link.Depth != 0 || link.Destroyed) return;
    link.Handler = nullptr;
    link.OnDestroyed = nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(link.Window, GWLP_WNDPROC)) != &SubclassProc) return;
    SetWindowLongPtrA(link.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link.OldProc));
    ForgetLink(link);
}

LRESULT Handle(TLink& link, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) {
        const LRESULT result = CallWindowProcA(link.OldProc, hwnd, msg, wParam, lParam);
        link.Destroyed = true;
        ForgetLink(link);
        if (link.Owner != nullptr && link.OnDestroyed) link.OnDestroyed();
        return result;
    }
    if (link.Owner == nullptr || !link.Handler) return CallWindowProcA(link.OldProc, hwnd, msg, wParam, lParam);
    return link.Handler(msg, wParam, lParam);
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Held here, so that an owner freed while the message is handled leaves it whole.
    std::shared_ptr<TLink> link = LinkOf(hwnd);
    if (!link) return DefWindowProcA(hwnd, msg, wParam, lParam);
    ++link->Depth;
    LRESULT result = 0;
    try {
        result = Handle(*link, hwnd, msg, wParam, lParam);
    } catch (const std::exception& e) {
        // No error may cross into the system's code.
        Application->HandleException(nullptr, e);
    }
    --link->Depth;
    SettleDetached(*link);
    return result;
}

}  // namespace

TWindowSubclass::TWindowSubclass() = default;

TWindowSubclass::~TWindowSubclass() { Detach(); }

bool TWindowSubclass::Attach(HWND window, THandler handler, TDestroyedEvent onDestroyed) {
    if (window == nullptr || !IsWindow(window)) return false;
    std::shared_ptr<TLink> held = LinkOf(window);
    if (held && (held->Owner != nullptr || held->Depth != 0)) return false;
    Detach();
    if (held) {
        // A pass-through left by an earlier detach is taken up again.
        held->Handler = std::move(handler);
        held->OnDestroyed = std::move(onDestroyed);
        held->Owner = this;
        link_ = std::move(held);
        return true;
    }
    auto link = std::make_shared<TLink>();
    link->Window = window;
    link->Handler = std::move(handler);
    link->OnDestroyed = std::move(onDestroyed);
    link->Owner = this;
    if (!SetPropA(window, kLinkProp, link.get())) return false;
    WindowLinks()[link.get()] = link;
    SetLastError(0);
    const LONG_PTR old = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    if (old == 0 && GetLastError() != 0) {
        ForgetLink(*link);
        return false;
    }
    link->OldProc = reinterpret_cast<WNDPROC>(old);
    link_ = std::move(link);
    return true;
}

void TWindowSubclass::Detach() {
    if (!link_ || link_->Owner != this) return;
    link_->Owner = nullptr;
    SettleDetached(*link_);
}

LRESULT TWindowSubclass::CallOld(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!link_ || link_->OldProc == nullptr) return 0;
    return CallWindowProcA(link_->OldProc, link_->Window, msg, wParam, lParam);
}

HWND TWindowSubclass::Window() const { return link_ ? link_->Window : nullptr; }

bool TWindowSubclass::Attached() const { return link_ && link_->Owner == this && !link_->Destroyed; }

bool TWindowSubclass::WindowDestroyed() const { return link_ && link_->Destroyed; }

bool TWindowSubclass::InWindowProc() const { return link_ && link_->Depth > 0; }

}  // namespace pellix
