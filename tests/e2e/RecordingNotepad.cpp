// Stands in for NOTEPAD.EXE in the end-to-end tests: appends the command line
// it was started with to the file that PELLIX_NOTEPAD_LOG names, and ends.
#include <windows.h>

#include <string>

int main() {
    char log[MAX_PATH * 4];
    DWORD n = GetEnvironmentVariableA("PELLIX_NOTEPAD_LOG", log, sizeof(log));
    if (n == 0 || n >= sizeof(log)) return 1;
    std::string line = std::string(GetCommandLineA()) + "\n";
    HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
