#include "app/About.h"

#include <cmath>

#include "framework/FormLoader.h"
#include "framework/StdCtrls.h"

namespace pellix {

namespace {

std::string UserThousandSeparator() {
    char separator[16] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof(separator)) == 0) return ",";
    return separator;
}

}  // namespace

std::string FormatPhysicalMemory(uint64_t bytes) {
    const auto kilobytes = static_cast<uint64_t>(std::llround(static_cast<double>(bytes) / 1024.0));
    // The pattern "#,###" has optional digits only: zero shows no digit at all.
    std::string digits = kilobytes == 0 ? "" : std::to_string(kilobytes);
    const std::string separator = UserThousandSeparator();
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, separator);
    return digits + " KB";
}

std::string FormatMemoryLoad(unsigned load) { return std::to_string(load) + " %"; }

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
    RegisterClassInfo("TAboutBox", "TForm");
    AddHandler("FormCreate", TNotifyEvent([this](TObject* s) { FormCreate(s); }));
}

void TAboutBox::Loaded() {
    TForm::Loaded();
    PhysMem = FindComponentAs<TLabel>(*this, "PhysMem", "The about box");
    FreeRes = FindComponentAs<TLabel>(*this, "FreeRes", "The about box");
}

void TAboutBox::FormCreate(TObject*) {
    // The extended status: the plain one cannot report more than 4 GB to a 32-bit build.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    PhysMem->SetCaption(FormatPhysicalMemory(status.ullTotalPhys));
    FreeRes->SetCaption(FormatMemoryLoad(status.dwMemoryLoad));
}

void TAboutBox::SetVisible(bool visible) {
    // The framework's positions know only the screen; the box centres itself
    // on the main window the first time it shows.
    if (visible && !centred_) {
        centred_ = true;
        TCustomForm* main = Application->MainForm();
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (main != nullptr && main != this && main->HandleAllocated()) GetWindowRect(main->Handle(), &area);
        SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
                  Width(), Height());
    }
    TForm::SetVisible(visible);
}

}  // namespace pellix
