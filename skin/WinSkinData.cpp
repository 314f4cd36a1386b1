#include "skin/WinSkinData.h"

#include <windows.h>

#include "framework/Dialogs.h"
#include "framework/FileSystem.h"
#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "skin/SkinRead.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinStore.h"

namespace pellix {

namespace {

constexpr uint32_t kActionInterval = 250;

const char* const kDefaultSkin3rd[] = {
    "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox", "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox",
    "TLMDRadiobutton=Radiobutton", "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel", "TLMDDBCalendar=Panel",
    "TLMDButtonPanel=Panel", "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel", "TLMDTechnicalLine=Panel",
    "TLMDLMDClock=Panel", "TLMDTrackbar=trackbar", "TLMDListCombobox=combobox", "TLMDCheckListCombobox=combobox",
    "TLMDHeaderListCombobox=combobox", "TLMDImageCombobox=combobox", "TLMDColorCombobox=combobox", "TLMDFontCombobox=combobox",
    "TLMDFontSizeCombobox=combobox", "TLMDFontSizeCombobox=combobox", "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox", "TLMDTrackBarComboBox=combobox", "TLMDCalendarComboBox=combobox", "TLMDRADIOGROUP=radiogroup",
    "TLMDCheckGroup=CheckGroup", "TLMDDBRADIOGROUP=radiogroup", "TLMDDBCheckGroup=CheckGroup", "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit", "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit", "TLMDDBEDIT=Edit",
    "TLMDDBMASKEDIT=Edit", "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit", "TLMDDBEDITDBLookup=Edit",
    "TLMDEDITDBLookup=Edit", "TDBLookupCombobox=Combobox", "TWWDBCombobox=Combobox", "TWWDBLookupCombo=Combobox",
    "TWWDBCombobox=Combobox", "TWWKeyCombo=Combobox", "TWWDBDateTimePicker=Combobox", "TWWRADIOGROUP=radiogroup",
    "TDXDBPICKEDIT=Combobox", "TDXDBCALCEDIT=Combobox", "TDXDBIMAGEEDIT=Combobox", "TDXDBPOPUPEDIT=Combobox",
    "TDXDBEXTLOOKUPEDIT=Combobox", "TDXDBLOOKUPEDIT=Combobox", "TDXDBDATEEDIT=Combobox", "TDXDATEEDIT=Combobox",
    "TDXPICKEDIT=Combobox", "TDXPOPUPEDIT=Combobox", "TDXDBCURRENCYEDIT=Edit", "TDXDBEDIT=Edit",
    "TDXDBMASKEDIT=Edit", "TDXDBHYPERLINKEDIT=Edit", "TDXEDIT=Edit", "TDXMASKEDIT=Edit",
    "TWWDBEDIT=Edit", "TDXBUTTONEDIT=Edit", "TDXCURRENCYEDIT=Edit", "TDXHYPERLINKEDIT=Edit",
    "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit", "TOVCDBSLIDEREDIT=Edit",
    "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit", "TOVCNUMERICFIELD=Edit",
    "TOVCDBNUMERICFIELD=Edit",
};

// The skin reader's message about an older archive layout waits for the user.
void InstallSkinMessageBox() {
    static const bool installed = [] {
        SetSkinMessageHook([](const std::string& text) { ShowMessage(text); });
        return true;
    }();
    (void)installed;
}

// With its final backslash; empty when the system cannot tell.
std::string TempFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof(buffer), buffer);
    if (length == 0 || length >= sizeof(buffer)) return {};
    return std::string(buffer, length);
}

int32_t ReadInt32(TStream& stream) {
    uint8_t bytes[4];
    stream.ReadBuffer(bytes, sizeof(bytes));
    return static_cast<int32_t>(uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                                uint32_t{bytes[3]} << 24);
}

void WriteInt32(TStream& stream, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                              static_cast<uint8_t>(v >> 24)};
    stream.WriteBuffer(bytes, sizeof(bytes));
}

}  // namespace

void DefaultSkin3rd(TStrings& lines) {
    for (const char* line : kDefaultSkin3rd) lines.Add(line);
}

TSkinData::TSkinData(TComponent* owner) : TComponent(owner), skin3rd_(std::make_unique<TStringList>()) {
    InstallSkinMessageBox();
    DefaultSkin3rd(*skin3rd_);
}

TSkinData::~TSkinData() {
    skin3rd_.reset();
    if (SkinManager != nullptr) SkinManager->RemoveSkinData(this);
}

void TSkinData::SetSkin3rd(const TStrings* lines) {
    if (lines != nullptr) skin3rd_->Assign(lines);
}

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    // A component made in code never went through FinishLoading.
    if (!Loading() && SkinManager == nullptr) FinishLoading();
    active_ = value;
    if (Loading() || SkinFormtype == sfDialog) return;
    if (value && SkinUnparsed) return;
    SkinManager->ScheduleAction(this, value ? saActivate : saDeactivate, kActionInterval);
}

void TSkinData::SetSkinFile(const std::string& path) {
    SkinUnparsed = true;
    skinFile_ = path;
    if (!FileExists(path)) return;
    SkinStream.Clear();
    SkinStream.LoadFromFile(path);
    LoadSkinStream();
    ApplySkin();
}

void TSkinData::LoadSkinFromStore(TSkinStore* store, int index) {
    if (store == nullptr || index < 0 || index >= store->Store()->Count()) return;
    SkinUnparsed = true;
    SkinStream.Clear();
    store->Store()->Items(index)->CopyItemStream(SkinStream);
    LoadSkinStream();
    ApplySkin();
}

bool TSkinData::LoadSkinStream() {
    SkinUnparsed = true;
    TSkinReader reader;
    TMemoryStream entryStream;
    if (!reader.OpenSkinArchive(SkinStream)) return false;
    std::string iniName;
    reader.FindEntry(".ini", entryStream, iniName);
    // The settings text would have been copied to a file named after it in
    // the temporary folder: without one, that name is the folder alone.
    if (iniName.empty()) throw EFCreateError("Cannot create file " + TempFolder());
    const std::string text(reinterpret_cast<const char*>(entryStream.Memory()), static_cast<size_t>(entryStream.Size()));
    // The parse frees the caption-button records: frames must not keep
    // buttons that point at them, whether or not the parse succeeds.
    if (SkinManager != nullptr) SkinManager->RereadAllFrames(this);
    RecordsComplete = false;
    ReadSkinIni(*this, text, reader, entryStream);
    RecordsComplete = true;
    SkinUnparsed = false;
    return true;
}

void TSkinData::ApplySkin() {
    if (Loading()) return;
    if (SkinManager == nullptr) FinishLoading();
    SkinManager->RereadAllFrames(this);
    SkinManager->ScheduleAction(this, saSkinChanged, kActionInterval);
}

void TSkinData::Loaded() {
    TComponent::Loaded();
    FinishLoading();
}

void TSkinData::FinishLoading() {
    TSkinManage* manager = CreateSkinManager();
    manager->AddSkinData(this);
    if (SkinFormtype == sfMainform) {
        manager->InstallCbtHook();
        if (!active_) return;
        if (SkinUnparsed) {
            active_ = false;
            return;
        }
        manager->ScheduleAction(this, saActivate, kActionInterval);
        return;
    }
    manager->SkinningEnabled = true;
    ++manager->ActivationCount;
    // Made here when the form has no window yet.
    if (auto* form = dynamic_cast<TCustomForm*>(Owner())) manager->SkinWindow(form->Handle());
}

void TSkinData::AskFormSkin(const std::string& aName, bool& doSkin) {
    if (OnFormSkin) {
        OnFormSkin(this, aName, doSkin);
        return;
    }
    if (aName == "SysMonthCal32") doSkin = false;
    else if (HasControl(xcFastReport) && aName.rfind("Tfr", 0) == 0) doSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::DeclareStoredProperties(TStoredProperties& properties) {
    properties.DefineBinaryProperty(
        "SkinStream", [this](TStream& stream) { ReadSkinStream(stream); },
        [this](TStream& stream) { WriteSkinStream(stream); }, TBinaryLayout::CountPrefixed);
}

void TSkinData::ReadSkinStream(TStream& stream) {
    const int32_t size = ReadInt32(stream);
    if (size <= 0) return;
    // A count beyond the data is refused before anything is allocated.
    if (size > stream.Size() - stream.Position()) throw EReadError("Stream read error");
    SkinStream.SetSize(size);
    stream.ReadBuffer(SkinStream.Memory(), size);
    LoadSkinStream();
}

void TSkinData::WriteSkinStream(TStream& stream) const {
    const auto size = static_cast<int32_t>(SkinStream.Size());
    WriteInt32(stream, size);
    if (size > 0) stream.WriteBuffer(SkinStream.Memory(), size);
}

void RegisterWinSkinDataClasses() {
    static const std::vector<std::pair<std::string, uint32_t>> kControlTypes = {
        {"xcMainMenu", SkinControlBit(xcMainMenu)},     {"xcPopupMenu", SkinControlBit(xcPopupMenu)},
        {"xcToolbar", SkinControlBit(xcToolbar)},       {"xcControlbar", SkinControlBit(xcControlbar)},
        {"xcCombo", SkinControlBit(xcCombo)},           {"xcCheckBox", SkinControlBit(xcCheckBox)},
        {"xcRadioButton", SkinControlBit(xcRadioButton)}, {"xcProgress", SkinControlBit(xcProgress)},
        {"xcScrollbar", SkinControlBit(xcScrollbar)},   {"xcEdit", SkinControlBit(xcEdit)},
        {"xcButton", SkinControlBit(xcButton)},         {"xcBitBtn", SkinControlBit(xcBitBtn)},
        {"xcSpeedButton", SkinControlBit(xcSpeedButton)}, {"xcPanel", SkinControlBit(xcPanel)},
        {"xcGroupBox", SkinControlBit(xcGroupBox)},     {"xcStatusBar", SkinControlBit(xcStatusBar)},
        {"xcTab", SkinControlBit(xcTab)},               {"xcFastReport", SkinControlBit(xcFastReport)},
    };
    RegisterClassInfo("TSkinData", "TComponent", Factory<TSkinData>())
        .Property("Active", Prop<TSkinData>([](TSkinData& d, const FormValue& v, LoadContext& x) { d.SetActive(x.Bool(v)); }))
        .Property("DisableTag", Prop<TSkinData>([](TSkinData& d, const FormValue& v, LoadContext& x) { d.DisableTag = x.Int(v); }))
        .Property("SkinControls", Prop<TSkinData>([](TSkinData& d, const FormValue& v, LoadContext& x) {
            d.SkinControls = x.Set(v, kControlTypes);
        }))
        .Property("Skin3rd.Strings", Prop<TSkinData>([](TSkinData& d, const FormValue& v, LoadContext& x) {
            TStringList lines;
            for (const std::string& line : x.Strings(v)) lines.Add(line);
            d.SetSkin3rd(&lines);
        }))
        .Property("SkinFile", Prop<TSkinData>([](TSkinData& d, const FormValue& v, LoadContext& x) { d.SetSkinFile(x.String(v)); }))
        .Property("SkinStore", Prop<TSkinData>([](TSkinData& d, const FormValue& v, LoadContext& x) { d.SetSkinStore(x.String(v)); }))
        .Property("SkinFormtype", Prop<TSkinData>([](TSkinData& d, const FormValue& v, LoadContext& x) {
            d.SkinFormtype = static_cast<TSkinFormType>(x.Enum(v, {"sfMainform", "sfOnlyThisForm", "sfDialog"}));
        }))
        .Property("OnFormSkin", EventProp(&TSkinData::OnFormSkin))
        .Property("OnSkinChanged", EventProp(&TSkinData::OnSkinChanged))
        .Property("OnSkinControl", EventProp(&TSkinData::OnSkinControl));
}

}  // namespace pellix
