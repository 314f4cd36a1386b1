// The about box: version, the maker, and the machine's memory figures.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Forms.h"

namespace pellix {

class TLabel;

class TAboutBox : public TForm {
public:
    // Made on demand and freed when it closes; owner is the main window.
    explicit TAboutBox(TComponent* owner);
    std::string ClassName() const override { return "TAboutBox"; }

    TLabel* PhysMem = nullptr;
    TLabel* FreeRes = nullptr;

    void FormCreate(TObject* sender);
    void Loaded() override;
    void SetVisible(bool visible) override;

private:
    bool centred_ = false;
};

// Bytes as whole kilobytes with the user's thousands separator: "523,760 KB".
std::string FormatPhysicalMemory(uint64_t bytes);
// The percentage of memory in use: "57 %".
std::string FormatMemoryLoad(unsigned load);

}  // namespace pellix
