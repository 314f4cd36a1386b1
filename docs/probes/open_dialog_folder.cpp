// Measures where the open dialog starts for an initial folder ending in a backslash, and the current folder after OK and Cancel.
#include "probe.h"
#include <commdlg.h>
#include <dlgs.h>

std::string chosen;  // typed into the name field; empty: Cancel
std::string seenFolder;

void CALLBACK drive(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM lp) -> BOOL {
        char cls[32] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (IsWindowVisible(h) && strcmp(cls, "#32770") == 0) { *reinterpret_cast<HWND*>(lp) = h; return FALSE; }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&dlg));
    if (!dlg) return;
    HWND field = GetDlgItem(dlg, cmb13) ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
    if (!field) return;
    KillTimer(nullptr, id);
    char where[MAX_PATH] = {};
    SendMessageA(dlg, CDM_GETFOLDERPATH, sizeof where, reinterpret_cast<LPARAM>(where));
    seenFolder = where;
    if (chosen.empty()) {
        SendMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
    } else {
        SetWindowTextA(field, chosen.c_str());
        SendMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    }
}

std::string current()
{
    char buf[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof buf, buf);
    return buf;
}

void trial(const char* title, const std::string& initial, const std::string& pick)
{
    chosen = pick;
    seenFolder.clear();
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Skin files (*.skn)\0*.SKN\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = initial.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    SetTimer(nullptr, 0, 50, drive);
    const std::string before = current();
    BOOL ok = GetOpenFileNameA(&ofn);
    out("---- %s", title);
    out("  initial dir     %s", initial.c_str());
    out("  dialog showed   %s", seenFolder.c_str());
    out("  result %d file  %s", ok, ok ? file : "");
    out("  current before  %s", before.c_str());
    out("  current after   %s", current().c_str());
}

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "probe-open-dialog";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\Skins").c_str(), nullptr);
    CreateDirectoryA((root + "\\other").c_str(), nullptr);
    CloseHandle(CreateFileA((root + "\\other\\x.skn").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SetCurrentDirectoryA(root.c_str());
    trial("initial folder with a final backslash, Cancel", root + "\\Skins\\", "");
    trial("file typed with its full path in another folder, OK", root + "\\Skins\\", root + "\\other\\x.skn");
    SetCurrentDirectoryA(root.c_str());
    trial("a name that does not exist, OK", root + "\\Skins\\", root + "\\other\\none.skn");
    SetCurrentDirectoryA(root.c_str());
    trial("a bare name, OK", root + "\\other\\", "x.skn");
    return 0;
}
