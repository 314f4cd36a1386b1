#include "app/QnRegistryComponent.h"

#include "framework/Dialogs.h"
#include "framework/FormLoader.h"
#include "framework/Registry.h"

namespace pellix {

namespace {

constexpr int kShortMax = 255;

// Opens key (creating it) for one save; says so and does nothing when it cannot.
template <class Write>
void Save(const std::string& key, Write write) {
    TRegistry registry(KEY_ALL_ACCESS);
    if (!registry.OpenKey(key, true)) {
        MessageDlg("The specified key does not exist. The setting was not saved.", TMsgDlgType::mtInformation, mbOK);
        return;
    }
    write(registry);
    registry.CloseKey();
}

// Opens key (creating it) for one load; a key that cannot be opened gives fallback.
template <class T, class Read>
T Load(const std::string& key, const T& fallback, Read read) {
    TRegistry registry(KEY_ALL_ACCESS);
    if (!registry.OpenKey(key, true)) {
        ShowMessage("Error opening key");
        return fallback;
    }
    T result = read(registry);
    registry.CloseKey();
    return result;
}

}  // namespace

void TQnRegistry::SaveStringToRegistry(const std::string& key, const std::string& name, const std::string& value) {
    Save(key, [&](TRegistry& r) { r.WriteString(name, value); });
}

void TQnRegistry::SaveIntegerToRegistry(const std::string& key, const std::string& name, int32_t value) {
    Save(key, [&](TRegistry& r) { r.WriteString(name, IntToStr(value)); });
}

void TQnRegistry::SaveBooleanToRegistry(const std::string& key, const std::string& name, bool value) {
    Save(key, [&](TRegistry& r) { r.WriteString(name, value ? "-1" : "0"); });
}

void TQnRegistry::SaveShortToRegistry(const std::string& key, const std::string& name, const std::string& value) {
    std::string kept = value.substr(0, kShortMax);
    Save(key, [&](TRegistry& r) { r.WriteBinaryData(name, kept.data(), static_cast<int>(kept.size())); });
}

std::string TQnRegistry::LoadStringFromRegistry(const std::string& key, const std::string& name,
                                                const std::string& fallback) {
    return Load(key, fallback, [&](TRegistry& r) {
        std::string text = r.ReadString(name);
        return text.empty() ? fallback : text;
    });
}

int32_t TQnRegistry::LoadIntegerFromRegistry(const std::string& key, const std::string& name, int32_t fallback) {
    return Load(key, fallback, [&](TRegistry& r) {
        std::string text = r.ReadString(name);
        return text.empty() ? fallback : StrToInt(text);
    });
}

bool TQnRegistry::LoadBooleanFromRegistry(const std::string& key, const std::string& name, bool fallback) {
    return Load(key, fallback, [&](TRegistry& r) {
        std::string text = r.ReadString(name);
        return text.empty() ? fallback : StrToBool(text);
    });
}

std::string TQnRegistry::LoadShortFromRegistry(const std::string& key, const std::string& name,
                                               const std::string& fallback) {
    return Load(key, fallback, [&](TRegistry& r) {
        char buffer[kShortMax];
        int count = r.ReadBinaryData(name, buffer, kShortMax);
        return count > 0 ? std::string(buffer, count) : fallback;
    });
}

bool TQnRegistry::AddKeyToRegistry(const std::string& key) {
    TRegistry registry(KEY_ALL_ACCESS);
    registry.CreateKey(key);
    return true;
}

bool TQnRegistry::DeleteKeyFromRegistry(const std::string& key) {
    TRegistry registry(KEY_ALL_ACCESS);
    if (!registry.OpenKey(key, true)) {
        ShowMessage("Error opening key");
        return false;
    }
    registry.CloseKey();
    registry.DeleteKey(key);
    return true;
}

bool TQnRegistry::DeleteValueFromRegistry(const std::string& key, const std::string& name) {
    TRegistry registry(KEY_ALL_ACCESS);
    registry.OpenKey(key, false);  // a key that does not open makes the deletion fail
    return registry.DeleteValue(name);
}

void RegisterQnRegistryClasses() { RegisterClassInfo("TQnRegistry", "TComponent", Factory<TQnRegistry>()); }

}  // namespace pellix
