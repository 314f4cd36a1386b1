#include "app/ShellHelpers.h"

#include <shellapi.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "framework/FileSystem.h"
#include "framework/Forms.h"
#include "framework/Registry.h"

namespace pellix {

namespace {

// The shell reports these results as values of 32 or less.
const char kNotFound[] = "ERROR_FILE_NOT_FOUND";

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// Starts the command line shown normally, without waiting; false when the
// system cannot start it.
bool StartCommand(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::string writable = commandLine;  // the system may write into it
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    UniqueHandle thread(process.hThread), child(process.hProcess);
    return true;
}

void ShellOpen(const std::string& url) {
    TCustomForm* main = Application->MainForm();
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.hwnd = main != nullptr && main->HandleAllocated() ? main->Handle() : nullptr;
    info.lpFile = url.c_str();
    info.nShow = SW_SHOWNORMAL;
    // Nothing is left to try when the shell cannot open it either.
    ShellExecuteExA(&info);
}

}  // namespace

std::string GetCurrentFolder() { return GetCurrentDir(); }

std::string FindDocumentExecutable(const std::string& document) {
    char result[261] = {};
    const std::string folder = GetCurrentFolder();
    auto found = reinterpret_cast<INT_PTR>(FindExecutableA(document.c_str(), folder.c_str(), result));
    return found > 32 ? std::string(result) : std::string(kNotFound);
}

std::string ReadRegistryString(HKEY root, const std::string& path, const std::string& name) {
    TRegistry registry(KEY_QUERY_VALUE);
    registry.SetRootKey(root);
    if (!registry.OpenKey(path, false)) return "";
    const TRegDataType type = registry.GetDataType(name);
    return type == TRegDataType::rdString || type == TRegDataType::rdExpandString ? registry.ReadString(name) : "";
}

std::string GetDefaultBrowserCommand() {
    for (const char* path : {"HTMLFILE\\Shell\\Open\\Command\\", "HTTP\\Shell\\Open\\Command\\", "HTTPS\\Shell\\Open\\Command\\"}) {
        std::string command = ReadRegistryString(HKEY_CLASSES_ROOT, path, "");
        if (!command.empty()) return command;
    }
    return FindDocumentExecutable("help.html");
}

std::string BrowserCommandLine(const std::string& command, const std::string& url) {
    if (command.find("%1") == std::string::npos) return command + " " + url;
    // Any "%1" inside the address itself stays as it is.
    return StringReplaceAll(command, "%1", url);
}

void OpenURL(const std::string& url) {
    const std::string command = GetDefaultBrowserCommand();
    if (!command.empty() && StartCommand(BrowserCommandLine(command, url))) return;
    ShellOpen(url);
}

}  // namespace pellix
