#include "framework/Registry.h"

#include <vector>

namespace pellix {

namespace {

std::string FromRoot(const std::string& key) { return !key.empty() && key[0] == '\\' ? key.substr(1) : key; }

[[noreturn]] void Raise(std::string_view pattern, const std::string& arg) {
    throw ERegistryException(FormatMessage1(pattern, arg));
}

std::vector<std::string> SubKeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[1024];  // 255 characters, up to 4 bytes each in UTF-8
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace

TRegistry::TRegistry(REGSAM access) : access_(access) {}

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

UniqueRegKey TRegistry::Open(const std::string& key, bool canCreate, REGSAM access) const {
    std::string path = FromRoot(key);
    HKEY opened = nullptr;
    LONG rc = canCreate ? RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                          &opened, nullptr)
                        : RegOpenKeyExA(root_, path.c_str(), 0, access, &opened);
    return UniqueRegKey(rc == ERROR_SUCCESS ? opened : nullptr);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    UniqueRegKey opened = Open(key, canCreate, access_);
    if (!opened) return false;
    current_ = std::move(opened);
    return true;
}

bool TRegistry::CreateKey(const std::string& key) {
    if (!Open(key, true, access_)) Raise("Failed to create key %s", key);
    return true;
}

void TRegistry::CloseKey() { current_.reset(); }

bool TRegistry::DeleteKey(const std::string& key) {
    std::string path = FromRoot(key);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty()) return false;  // never the root itself
    // Names first: deleting while enumerating would shift the indices.
    std::vector<std::string> children;
    if (UniqueRegKey k = Open(path, false, KEY_ENUMERATE_SUB_KEYS)) children = SubKeyNames(k.get());
    for (const std::string& child : children) DeleteKey(path + "\\" + child);
    return RegDeleteKeyA(root_, path.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const std::string& key) {
    return Open(key, false, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS) != nullptr;
}

TRegistry::ValueInfo TRegistry::QueryValue(const std::string& name) {
    ValueInfo info;
    if (current_ == nullptr) return info;
    info.found = RegQueryValueExA(current_.get(), name.c_str(), nullptr, &info.type, nullptr, &info.size) == ERROR_SUCCESS;
    return info;
}

void TRegistry::QueryData(const std::string& name, void* buffer, DWORD size) {
    DWORD type = REG_NONE;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        Raise("Failed to get data for '%s'", name);
}

void TRegistry::WriteData(const std::string& name, DWORD type, const void* data, DWORD size) {
    if (RegSetValueExA(current_.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        Raise("Failed to set data for '%s'", name);
}

std::string TRegistry::ReadString(const std::string& name) {
    ValueInfo info = QueryValue(name);
    if (!info.found || info.size == 0) return {};
    if (info.type != REG_SZ && info.type != REG_EXPAND_SZ) Raise("Invalid data type for '%s'", name);
    std::string text(info.size, '\0');
    QueryData(name, text.data(), info.size);
    // Stored text may or may not carry its terminator.
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    return text;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    WriteData(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int size) {
    ValueInfo info = QueryValue(name);
    if (!info.found || info.size == 0) return 0;
    if (info.type != REG_BINARY || info.size > static_cast<DWORD>(size)) Raise("Invalid data type for '%s'", name);
    QueryData(name, buffer, info.size);
    return static_cast<int>(info.size);
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size) {
    WriteData(name, REG_BINARY, buffer, static_cast<DWORD>(size));
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
    ValueInfo info = QueryValue(name);
    if (!info.found) return TRegDataType::rdUnknown;
    switch (info.type) {
    case REG_SZ: return TRegDataType::rdString;
    case REG_EXPAND_SZ: return TRegDataType::rdExpandString;
    case REG_DWORD: return TRegDataType::rdInteger;
    case REG_BINARY: return TRegDataType::rdBinary;
    default: return TRegDataType::rdUnknown;
    }
}

int TRegistry::GetDataSize(const std::string& name) {
    ValueInfo info = QueryValue(name);
    return info.found ? static_cast<int>(info.size) : -1;
}

bool TRegistry::ValueExists(const std::string& name) { return QueryValue(name).found; }

bool TRegistry::DeleteValue(const std::string& name) {
    return current_ != nullptr && RegDeleteValueA(current_.get(), name.c_str()) == ERROR_SUCCESS;
}

}  // namespace pellix
