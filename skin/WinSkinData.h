// The skin data component: one skin archive held in memory, its parsed
// records (the members every painter reads), and the switches and events the
// rest of the engine goes by. It tells the skin manager when skinning is to
// be switched on or off and when its skin has changed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Streams.h"
#include "framework/Strings.h"
#include "skin/SkinRecords.h"

namespace pellix {

class TControl;
class TSkinStore;

// Families of control skins; value i is bit i of TSkinControlTypes.
enum TSkinControlType : uint8_t {
    xcMainMenu,
    xcPopupMenu,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcFastReport,
};
using TSkinControlTypes = uint32_t;

constexpr TSkinControlTypes SkinControlBit(TSkinControlType type) { return TSkinControlTypes{1} << type; }
// Every family but xcFastReport.
constexpr TSkinControlTypes DefaultSkinControls = SkinControlBit(xcFastReport) - 1;

// sfMainform serves every top-level window of the thread and hooks it;
// sfOnlyThisForm only the form that owns it; sfDialog the message dialogs.
enum TSkinFormType : uint8_t { sfMainform, sfOnlyThisForm, sfDialog };

class TSkinData;

// The window veto: a handler may set doSkin for a window class.
using TOnFormSkin = std::function<void(TObject* sender, const std::string& aName, bool& doSkin)>;
// Lets the program supply its own skin object for a control.
using TOnSkinControl = std::function<void(TComponent* sender, TSkinData* skinData, TControl* form, TControl* control,
                                          const std::string& controlClass, TComponent*& skinnedControl)>;

class TSkinData : public TComponent, public TSkinMembers {
public:
    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;
    std::string ClassName() const override { return "TSkinData"; }

    // Published.
    bool Active() const { return active_; }
    // Schedules skinning on or off for the windows this component serves.
    void SetActive(bool value);
    // A control or popup menu whose Tag mod 100 equals it stays unskinned.
    int32_t DisableTag = 99;
    TSkinControlTypes SkinControls = DefaultSkinControls;
    // Lines "class=kind": controls of a foreign class skinned like a built-in kind.
    TStrings* Skin3rd() const { return skin3rd_.get(); }
    void SetSkin3rd(const TStrings* lines);
    const std::string& SkinFile() const { return skinFile_; }
    // Loads the archive file at path and applies it; a missing file only
    // marks the skin unparsed.
    void SetSkinFile(const std::string& path);
    std::string SkinStore() const { return "(none)"; }
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype = sfMainform;
    TOnFormSkin OnFormSkin;
    // After each manager action that was scheduled for this component.
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;

    bool HasControl(TSkinControlType type) const { return (SkinControls & SkinControlBit(type)) != 0; }

    // The packed skin archive, byte for byte as a ".skn" file.
    TMemoryStream SkinStream;
    // False only after a complete parse: the one test of whether the skin is ready.
    bool SkinUnparsed = true;
    // The records hold the last parse that finished: a later load that fails
    // before its parse starts (missing file, wrong magic) leaves them whole,
    // though the skin counts as unparsed; one that fails during it does not.
    bool RecordsComplete = false;

    // Loads item index of the store (nothing for an index outside it) and applies it.
    void LoadSkinFromStore(TSkinStore* store, int index);
    // Parses the held archive; false when it could not be opened, the records
    // then keeping the previous skin. An archive without a settings text
    // raises EFCreateError; a parse error reaches the caller.
    bool LoadSkinStream();
    // Tells the manager that this component's skin changed.
    void ApplySkin();
    // Joins the manager (made when there is none) and starts as its type says.
    void FinishLoading();
    // The window veto for a window class; doSkin comes in true.
    void AskFormSkin(const std::string& aName, bool& doSkin);
    void DoSkinChanged();

    // "SkinStream": a 32-bit byte count, then the held archive.
    void DeclareStoredProperties(TStoredProperties& properties) override;
    void ReadSkinStream(TStream& stream);
    void WriteSkinStream(TStream& stream) const;

    void Loaded() override;

private:
    bool active_ = false;
    std::string skinFile_;
    std::unique_ptr<TStringList> skin3rd_;
};

// The 81 lines a new component's Skin3rd starts with.
void DefaultSkin3rd(TStrings& lines);

// Makes the component's classes and enumerations known to the form loader.
void RegisterWinSkinDataClasses();

}  // namespace pellix
