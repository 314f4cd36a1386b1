// Messages of one number posted to the thread's windows, seen as the thread
// takes them from its queue, whatever window procedure then consumes them.
#pragma once

#include <windows.h>

#include <vector>

namespace pellix::test {

class PostedMessages {
public:
    explicit PostedMessages(UINT message) : message_(message), previous_(current_) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, &PostedMessages::Hook, nullptr, GetCurrentThreadId());
    }
    ~PostedMessages() {
        UnhookWindowsHookEx(hook_);
        current_ = previous_;
    }
    PostedMessages(const PostedMessages&) = delete;
    PostedMessages& operator=(const PostedMessages&) = delete;

    const std::vector<MSG>& Seen() const { return seen_; }
    std::vector<WPARAM> WParams() const {
        std::vector<WPARAM> values;
        for (const MSG& m : seen_) values.push_back(m.wParam);
        return values;
    }
    std::vector<LPARAM> LParams() const {
        std::vector<LPARAM> values;
        for (const MSG& m : seen_) values.push_back(m.lParam);
        return values;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (code >= 0 && wParam == PM_REMOVE && current_ != nullptr && msg->message == current_->message_)
            current_->seen_.push_back(*msg);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline PostedMessages* current_ = nullptr;
    UINT message_;
    PostedMessages* previous_;
    HHOOK hook_;
    std::vector<MSG> seen_;
};

}  // namespace pellix::test
