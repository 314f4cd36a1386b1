// The settings store component: each call opens its key below the current
// user's root, does one job and closes the key again.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Classes.h"

namespace pellix {

class TQnRegistry : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TQnRegistry"; }

    // Keys are created when missing. A key that can be neither opened nor
    // created shows a box and writes nothing; framework errors pass through.
    void SaveStringToRegistry(const std::string& key, const std::string& name, const std::string& value);
    void SaveIntegerToRegistry(const std::string& key, const std::string& name, int32_t value);
    // "-1" or "0".
    void SaveBooleanToRegistry(const std::string& key, const std::string& name, bool value);
    // Binary data without a length byte; a short string holds 255 bytes at most.
    void SaveShortToRegistry(const std::string& key, const std::string& name, const std::string& value);

    // Empty or missing text, or a key that cannot be opened, gives fallback.
    std::string LoadStringFromRegistry(const std::string& key, const std::string& name, const std::string& fallback);
    int32_t LoadIntegerFromRegistry(const std::string& key, const std::string& name, int32_t fallback);
    bool LoadBooleanFromRegistry(const std::string& key, const std::string& name, bool fallback);
    std::string LoadShortFromRegistry(const std::string& key, const std::string& name, const std::string& fallback);

    // Creates key and the keys above it; raises when it cannot.
    bool AddKeyToRegistry(const std::string& key);
    // Deletes key with every key below it; false when it could not be opened.
    bool DeleteKeyFromRegistry(const std::string& key);
    // Never creates key; true exactly when the value was deleted.
    bool DeleteValueFromRegistry(const std::string& key, const std::string& name);
};

// Makes "TQnRegistry" known to form descriptions.
void RegisterQnRegistryClasses();

}  // namespace pellix
