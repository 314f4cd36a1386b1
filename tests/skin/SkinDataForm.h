// A form that holds one skin data component read from a description, with
// a handler for its OnSkinChanged that counts the events.
#pragma once

#include <memory>
#include <string>

#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "skin/WinSkinData.h"
#include "tests/skin/SkinArchives.h"

namespace pellix::test {

class TSkinDataForm : public TForm {
public:
    explicit TSkinDataForm(TComponent* owner) : TForm(owner) {
        RegisterClassInfo("TSkinDataForm", "TForm");
        RegisterWinSkinDataClasses();
        AddHandler("SkinChanged", TNotifyEvent([this](TObject*) { ++changes; }));
    }
    std::string ClassName() const override { return "TSkinDataForm"; }

    TSkinData* SkinData1() const { return dynamic_cast<TSkinData*>(FindComponent("SkinData1")); }
    int changes = 0;
};

using SkinDataFormPtr = std::unique_ptr<TSkinDataForm, ComponentFree>;

// componentBody: the property lines of the component "SkinData1".
inline SkinDataFormPtr LoadSkinDataForm(const std::string& componentBody) {
    SkinDataFormPtr form(new TSkinDataForm(nullptr));
    LoadFormText(*form, "object F: TSkinDataForm\n  object SkinData1: TSkinData\n" + componentBody + "  end\nend\n",
                 "SkinData.dfm");
    return form;
}

// The "SkinStream" line holding archive as form data: its count, then the bytes.
inline std::string StoredSkinLine(const Bytes& archive) {
    static const char digits[] = "0123456789ABCDEF";
    const auto n = static_cast<uint32_t>(archive.size());
    Bytes stored = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                    static_cast<uint8_t>(n >> 24)};
    stored.insert(stored.end(), archive.begin(), archive.end());
    std::string line = "    SkinStream = {";
    for (uint8_t b : stored) {
        line += digits[b >> 4];
        line += digits[b & 15];
    }
    return line + "}\n";
}

}  // namespace pellix::test
