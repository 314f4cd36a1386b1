// The skin choice of the main window: the "&Skins" menu, the skin chosen at
// start-up and the choice kept in the registry. Loading and drawing skins
// belong to the skin data component; this only decides which skin, in which
// order of calls, and keeps the check marks and the stored choice in step.
#include <windows.h>

#include <exception>
#include <string>

#include "app/QnRegistryComponent.h"
#include "app/ThumbnailsMain.h"
#include "framework/Dialogs.h"
#include "framework/FileSystem.h"
#include "framework/Menus.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinStore.h"

namespace pellix {

namespace {

const char kSubSkins[] = "Options\\Skins";
constexpr int32_t kNoStoredChoice = 999;
constexpr int32_t kUnskinned = 3;
constexpr int32_t kSkinFile = 4;

// Puts the folder that was current back, whichever way the scope is left.
class TCurrentFolderKeeper {
public:
    TCurrentFolderKeeper() : folder_(GetCurrentDir()) {}
    ~TCurrentFolderKeeper() { SetCurrentDirectoryA(folder_.c_str()); }
    TCurrentFolderKeeper(const TCurrentFolderKeeper&) = delete;
    TCurrentFolderKeeper& operator=(const TCurrentFolderKeeper&) = delete;

    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace

void TThumbnailsForm::RegisterSkinHandlers() {
    AddHandler("SkinClick", TNotifyEvent([this](TObject* s) { SkinClick(s); }));
    AddHandler("SkinNoneClick", TNotifyEvent([this](TObject* s) { SkinNoneClick(s); }));
    AddHandler("SkinLoadClick", TNotifyEvent([this](TObject* s) { SkinLoadClick(s); }));
    AddHandler("SkinData1SkinChanged", TNotifyEvent([this](TObject* s) { SkinData1SkinChanged(s); }));
}

// No window has been activated yet, so nothing here fires OnSkinChanged:
// start-up never writes the choice.
void TThumbnailsForm::ChooseStartSkin() {
    const std::string key = RegistryBase + kSubSkins;
    LoadedSkinFile = QnRegistry1->LoadStringFromRegistry(key, "SkinFile", "");
    SkinIndex = QnRegistry1->LoadIntegerFromRegistry(key, "SkinIndex", kNoStoredChoice);
    if (SkinIndex == kNoStoredChoice) {
        SkinIndex = 0;
        if (FileExists(DefaultSkin)) {
            LoadedSkinFile = DefaultSkin;
            SkinIndex = kSkinFile;
        }
    }
    // A negative stored index is no item of the store: like one above 4, it
    // leaves the component's own skin, and the stored value stays as it is.
    if (SkinIndex >= 0) SkinData1->LoadSkinFromStore(SkinStore1, SkinIndex);
    switch (SkinIndex) {
    case 0:
    case 1:
    case 2:
        SkinData1->LoadSkinFromStore(SkinStore1, SkinIndex);
        break;
    case kUnskinned:
        SkinNoneClick(this);
        break;
    case kSkinFile:
        LoadStartSkinFile();
        if (!SkinData1->Active()) SkinData1->SetActive(true);
        break;
    default:
        break;
    }
    if (!SkinData1->Active()) SkinData1->SetActive(true);
    SkinMenuCheck(this);
    // The first call switched skinning on, this one switches it off.
    if (SkinIndex == kUnskinned) SkinNoneClick(this);
}

// A missing file falls back to the first stored skin; so does a file that
// fails to load, after its error is shown, so that start-up goes on and the
// user's settings are read (and later written) as they are. SkinIndex stays
// 4 and the stored choice is left, so the next start tries the file again.
void TThumbnailsForm::LoadStartSkinFile() {
    if (LoadedSkinFile.empty() || !FileExists(LoadedSkinFile)) {
        SkinData1->LoadSkinFromStore(SkinStore1, 0);
        return;
    }
    try {
        SkinData1->SetSkinFile(LoadedSkinFile);
    } catch (const std::exception& e) {
        Application->ShowException(e);
        SkinData1->LoadSkinFromStore(SkinStore1, 0);
    }
}

void TThumbnailsForm::SkinClick(TObject* sender) {
    auto* item = dynamic_cast<TComponent*>(sender);
    if (item == nullptr) return;
    SkinIndex = item->Tag;
    SkinData1->LoadSkinFromStore(SkinStore1, SkinIndex);
    if (!SkinData1->Active()) SkinData1->SetActive(true);
    SkinMenuCheck(sender);
}

void TThumbnailsForm::SkinNoneClick(TObject*) {
    SkinBlue->SetChecked(false);
    SkinSilver->SetChecked(false);
    SkinGreen->SetChecked(false);
    SkinNone->SetChecked(true);
    SkinLoad->SetChecked(false);
    SkinIndex = kUnskinned;
    SkinData1->SetActive(!SkinData1->Active());
}

// A file that raises while loading leaves the rest undone, so it never
// becomes the choice; one that is refused with a message still does.
void TThumbnailsForm::SkinLoadClick(TObject* sender) {
    // The dialog makes the folder it shows current, even when cancelled.
    TCurrentFolderKeeper current;
    const std::string skins = current.Folder() + "\\Skins\\";
    OpenDialog1->Filter = "Skin files (*.skn)|*.SKN";
    OpenDialog1->InitialDir = DirectoryExists(skins) ? skins : current.Folder();
    if (!OpenDialog1->Execute()) return;
    SkinData1->SetSkinFile(OpenDialog1->FileName);
    if (!SkinData1->Active()) SkinData1->SetActive(true);
    LoadedSkinFile = OpenDialog1->FileName;
    SkinIndex = kSkinFile;
    SkinMenuCheck(sender);
}

void TThumbnailsForm::SkinMenuCheck(TObject*) {
    TMenuItem* const items[] = {SkinBlue, SkinSilver, SkinGreen, SkinLoad, SkinNone};
    for (TMenuItem* item : items) item->SetChecked(false);
    for (TMenuItem* item : items)
        if (item->Tag == SkinIndex) item->SetChecked(true);
}

void TThumbnailsForm::SkinData1SkinChanged(TObject*) {
    const std::string key = RegistryBase + kSubSkins;
    QnRegistry1->SaveStringToRegistry(key, "SkinFile", LoadedSkinFile);
    QnRegistry1->SaveIntegerToRegistry(key, "SkinIndex", SkinIndex);
}

}  // namespace pellix
