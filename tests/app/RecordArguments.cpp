// Stands in for a web browser in the tests: appends its arguments, each in
// brackets, as one line to the file that PELLIX_RECORD_FILE names. A Windows
// program, because Wine hands back no usable process handles when a Windows
// program starts a host script.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

int main() {
    wchar_t record[MAX_PATH];
    if (GetEnvironmentVariableW(L"PELLIX_RECORD_FILE", record, MAX_PATH) == 0) return 1;
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr) return 1;
    std::string line;
    for (int i = 1; i < count; ++i) line += "[" + Utf8(args[i]) + "]";
    LocalFree(args);
    FILE* out = _wfopen(record, L"ab");
    if (out == nullptr) return 1;
    std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
    return 0;
}
