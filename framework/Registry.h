// Registry access the framework's way: one open key at a time, text and
// binary values, errors raised as ERegistryException.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "framework/SysUtils.h"

namespace pellix {

struct RegKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
// An open registry key, closed when it goes.
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry : public TObject {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
    std::string ClassName() const override { return "TRegistry"; }

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY root);
    REGSAM Access() const { return access_; }
    void SetAccess(REGSAM access) { access_ = access; }
    HKEY CurrentKey() const { return current_.get(); }

    // Key paths always start at the root key; a leading backslash is
    // accepted and means the same (Wine refuses it, so it is stripped).
    // Replaces the open key on success.
    bool OpenKey(const std::string& key, bool canCreate);
    // Creates key and the missing keys above it; raises "Failed to create key".
    bool CreateKey(const std::string& key);
    void CloseKey();
    // Deletes key after every key below it, deepest first.
    bool DeleteKey(const std::string& key);
    bool KeyExists(const std::string& key);

    // Of the open key. A missing value reads as empty text; any kind other
    // than text raises "Invalid data type for '<name>'".
    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);
    // Reads at most size bytes; a missing or empty value gives 0. Anything
    // but binary data, or more than size bytes, raises the data-type error.
    int ReadBinaryData(const std::string& name, void* buffer, int size);
    void WriteBinaryData(const std::string& name, const void* buffer, int size);
    TRegDataType GetDataType(const std::string& name);
    // -1 for a missing value.
    int GetDataSize(const std::string& name);
    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);

private:
    struct ValueInfo {
        bool found = false;
        DWORD type = REG_NONE;
        DWORD size = 0;
    };
    ValueInfo QueryValue(const std::string& name);
    UniqueRegKey Open(const std::string& key, bool canCreate, REGSAM access) const;
    void QueryData(const std::string& name, void* buffer, DWORD size);
    void WriteData(const std::string& name, DWORD type, const void* data, DWORD size);

    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM access_;
    UniqueRegKey current_;
};

}  // namespace pellix
