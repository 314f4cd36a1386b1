#include "tests/harness/Program.h"

#include <cstdio>
#include <vector>

namespace pellix::test {

std::string WindowClassName(HWND hwnd) {
    char name[256];
    int n = GetClassNameA(hwnd, name, sizeof(name));
    return std::string(name, n > 0 ? n : 0);
}

std::string WindowText(HWND hwnd) {
    char text[1024];
    int n = GetWindowTextA(hwnd, text, sizeof(text));
    return std::string(text, n > 0 ? n : 0);
}

std::vector<Child> Children(HWND parent) {
    std::vector<Child> out;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            RECT r;
            GetWindowRect(hwnd, &r);
            reinterpret_cast<std::vector<Child>*>(lp)->push_back({hwnd, WindowClassName(hwnd), WindowText(hwnd), r});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND ChildOf(HWND parent, const std::string& cls, const std::string& text) {
    for (const Child& c : Children(parent))
        if (c.cls == cls && c.text == text) return c.hwnd;
    return nullptr;
}

// Asked in UTF-16: the list box answers another process in its own encoding.
std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> out;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        char utf8[1024] = {};
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
        out.push_back(utf8);
    }
    return out;
}

bool WaitForPosted(HWND window, DWORD timeoutMs) {
    HWND marker = nullptr;
    for (const Child& c : Children(GetAncestor(window, GA_ROOT)))
        if (c.cls == "TMemo" || c.cls == "TEdit") {
            marker = c.hwnd;
            break;
        }
    if (marker == nullptr) return true;
    const DWORD start = GetTickCount();
    DWORD_PTR flag = 0;
    while (!SendMessageTimeoutA(marker, EM_GETMODIFY, 0, 0, SMTO_NORMAL, 100, &flag))
        if (GetTickCount() - start > timeoutMs) return false;
    const WPARAM wanted = flag != 0 ? FALSE : TRUE;
    PostMessageA(marker, EM_SETMODIFY, wanted, 0);
    while (GetTickCount() - start <= timeoutMs) {
        if (SendMessageTimeoutA(marker, EM_GETMODIFY, 0, 0, SMTO_NORMAL, 100, &flag) && (flag != 0) == (wanted != 0))
            return true;
        Sleep(10);
    }
    return false;
}

bool ClickAndWait(HWND button, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &r)) return false;
    const DWORD spent = GetTickCount() - start;
    return WaitForPosted(button, timeoutMs > spent ? timeoutMs - spent : 0);
}

Program::Program(const std::string& workDir) {
    std::string exe = ExeFolder() + PELLIX_EXE_NAME;
    std::string cmd = "\"" + exe + "\"";
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &process_))
        process_ = PROCESS_INFORMATION{};
}

Program::~Program() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

namespace {

struct Search {
    DWORD pid;
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd) || WindowText(hwnd) != *s->caption) return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

HWND Program::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Search s{process_.dwProcessId, &caption, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
        if (s.found != nullptr) return s.found;
        if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
            // Said here, as no test can tell a crash from a clean exit otherwise.
            DWORD code = 0;
            GetExitCodeProcess(process_.hProcess, &code);
            std::fprintf(stderr, "the program ended before its window showed, exit code 0x%lx\n",
                         static_cast<unsigned long>(code));
            return nullptr;
        }
    }
    return nullptr;
}

HWND Program::FindWindowOfClass(const std::string& className) const {
    struct ClassSearch {
        DWORD pid;
        const std::string* className;
        HWND found;
    } s{process_.dwProcessId, &className, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<ClassSearch*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid != s->pid || !IsWindowVisible(hwnd) || WindowClassName(hwnd) != *s->className) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool Program::WaitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_.hProcess, &exitCode) != 0;
}

}  // namespace pellix::test
