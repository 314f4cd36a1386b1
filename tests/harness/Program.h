// Starts pellix.exe as a user would and finds its windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/harness/Files.h"

namespace pellix::test {

class Program {
public:
    // Starts the program that sits beside the test executable, in folder
    // workDir (the test's own folder when empty).
    explicit Program(const std::string& workDir = "");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    // The first visible top-level window of the program with that caption.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 15000) const;
    // Waits for the program to end; returns false on time-out.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    // A visible top-level window of the program with that class, or null.
    HWND FindWindowOfClass(const std::string& className) const;

private:
    PROCESS_INFORMATION process_{};
};

std::string WindowClassName(HWND hwnd);
std::string WindowText(HWND hwnd);

struct Child {
    HWND hwnd;
    std::string cls, text;
    RECT rect;  // on the screen
};
std::vector<Child> Children(HWND parent);
// The first child window, at any depth, of that class and text; null if none.
HWND ChildOf(HWND parent, const std::string& cls, const std::string& text);
// A list box's items, read from outside the program that owns it.
std::vector<std::string> ListItems(HWND list);

// Waits until the thread of window has handled every message posted to it
// before this call: a skinned push button posts its command when clicked, so
// a click is over only then. A marker goes after them, the modified flag of
// an edit or memo among the top-level window's children, which the program
// never reads. Returns at once when the window has no such child; false when
// the time is up. A modal loop of the program handles the marker too.
bool WaitForPosted(HWND window, DWORD timeoutMs);
// A click that posts its command (BM_CLICK on a skinned push button), over
// once the command has been handled or has opened a modal window; false when
// the time is up.
bool ClickAndWait(HWND button, DWORD timeoutMs);

}  // namespace pellix::test
