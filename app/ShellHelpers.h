// Finding the user's default web browser and opening addresses in it.
#pragma once

#include <windows.h>

#include <string>

namespace pellix {

// The current folder; empty when the system cannot report it in 260 bytes.
std::string GetCurrentFolder();

// The program the shell associates with document, looked up in the current
// folder; "ERROR_FILE_NOT_FOUND" when there is none.
std::string FindDocumentExecutable(const std::string& document);

// Value name (empty: the default value) of key path below root, read without
// creating anything; empty when the key or text value is missing or unreadable.
std::string ReadRegistryString(HKEY root, const std::string& path, const std::string& name);

// The shell's stored open command for HTML files, else for http and https
// addresses, as stored; else the program associated with "help.html".
std::string GetDefaultBrowserCommand();

// The command line that starts command with url: every "%1" replaced by url,
// or, without one, url appended after a blank.
std::string BrowserCommandLine(const std::string& command, const std::string& url);

// Opens url in the default browser; when that cannot be started, asks the
// shell to open it. Neither waits for the browser.
void OpenURL(const std::string& url);

}  // namespace pellix
