// The skin data component on its own: its defaults, the window veto, its
// stored archive, and loading from memory, files and a store, with the
// failures each load can meet.
#include "skin/WinSkinData.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Dialogs.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinStore.h"
#include "skin/WindowsVersion.h"
#include "tests/harness/Files.h"
#include "tests/skin/SkinArchives.h"
#include "tests/skin/SkinDataForm.h"

namespace pellix {
namespace {

using test::Bytes;
using test::BytesOf;


class SkinDataTest : public testing::Test {
protected:
    void SetUp() override {
        MessageBoxHook = [this](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(text);
            return 1;
        };
    }
    void TearDown() override { MessageBoxHook = nullptr; }

    // Parsed from memory without the manager.
    void Load(TSkinData& data, const Bytes& archive) {
        testskin::FillStream(data.SkinStream, archive);
        ASSERT_TRUE(data.LoadSkinStream());
    }

    std::vector<std::string> messages;
    TSkinData data{nullptr};
};

TEST_F(SkinDataTest, NewComponentHasItsDocumentedDefaults) {
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.DisableTag, 99);
    EXPECT_TRUE(data.HasControl(xcMainMenu));
    EXPECT_TRUE(data.HasControl(xcTab));
    EXPECT_FALSE(data.HasControl(xcFastReport));
    EXPECT_EQ(data.SkinFormtype, sfMainform);
    EXPECT_TRUE(data.SkinUnparsed);
    EXPECT_EQ(data.SkinStream.Size(), 0);
    EXPECT_EQ(data.SkinFile(), "");
    data.SetSkinStore("(Good)");
    EXPECT_EQ(data.SkinStore(), "(none)");
    EXPECT_EQ(data.LeftBorder.Name, "Left");
    EXPECT_EQ(data.Title.Name, "Title");

    const TStrings& lines = *data.Skin3rd();
    ASSERT_EQ(lines.Count(), 81);
    EXPECT_EQ(lines.Get(0), "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(lines.Get(1), "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(lines.Get(13), "TLMDTrackbar=trackbar");
    EXPECT_EQ(lines.Get(80), "TOVCDBNUMERICFIELD=Edit");
    // Component made without a form: the engine is not started by it.
    EXPECT_EQ(SkinManager, nullptr);
}

struct Veto {
    const char* name;
    const char* className;
    bool fastReport;  // xcFastReport in SkinControls
    int handler;      // -1 none, else the handler's answer
    bool skinned;
};

void PrintTo(const Veto& v, std::ostream* os) { *os << v.name; }

class SkinDataVeto : public testing::TestWithParam<Veto> {};

TEST_P(SkinDataVeto, AsksTheHandlerElseTheBuiltInClassRules) {
    const Veto& v = GetParam();
    TSkinData data(nullptr);
    if (v.fastReport) data.SkinControls |= SkinControlBit(xcFastReport);
    std::string asked;
    if (v.handler >= 0) {
        data.OnFormSkin = [&](TObject* sender, const std::string& name, bool& doSkin) {
            EXPECT_EQ(sender, &data);
            EXPECT_TRUE(doSkin);
            asked = name;
            doSkin = v.handler != 0;
        };
    }
    bool doSkin = true;
    data.AskFormSkin(v.className, doSkin);
    EXPECT_EQ(doSkin, v.skinned);
    if (v.handler >= 0) {
        EXPECT_EQ(asked, v.className);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Classes, SkinDataVeto,
    testing::Values(Veto{"PlainClass", "TForm1", false, -1, true},
                    Veto{"MonthCalendar", "SysMonthCal32", false, -1, false},
                    Veto{"MonthCalendarOtherCase", "sysmonthcal32", false, -1, true},
                    Veto{"MonthCalendarHandlerSaysYes", "SysMonthCal32", false, 1, true},
                    Veto{"HandlerSaysNo", "TForm1", false, 0, false},
                    Veto{"ReportWithoutFastReport", "TfrPreviewForm", false, -1, true},
                    Veto{"ReportWithFastReport", "TfrPreviewForm", true, -1, false},
                    Veto{"ReportOtherCase", "TFRPreviewForm", true, -1, true}),
    [](const testing::TestParamInfo<Veto>& info) { return std::string(info.param.name); });

TEST_F(SkinDataTest, ArchiveParsesIntoTheRecords) {
    Load(data, test::VariantSkin(0));
    EXPECT_FALSE(data.SkinUnparsed);
    EXPECT_EQ(data.ButtonFaceColour, test::FaceOf(0));
    EXPECT_EQ(data.CaptionButtons.size(), test::CaptionButtonRecords());
    EXPECT_EQ(data.TopBorder.Image.Height(),
              testskin::Layout(testskin::TElement::TopBorder).FrameHeight * testskin::BorderFrames({}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinDataTest, ArchiveOfAnOlderLayoutShowsTheMessageAndKeepsThePreviousSkin) {
    Load(data, test::VariantSkin(0));
    testskin::FillStream(data.SkinStream, testskin::WrongMagicSkin());
    EXPECT_FALSE(data.LoadSkinStream());
    EXPECT_EQ(messages, (std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"}));
    EXPECT_TRUE(data.SkinUnparsed);
    EXPECT_EQ(data.ButtonFaceColour, test::FaceOf(0));
}

TEST_F(SkinDataTest, ArchiveWithoutSettingsTextRaisesTheFileCreationError) {
    testskin::FillStream(data.SkinStream, testskin::SkinWithoutSettings());
    try {
        data.LoadSkinStream();
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + test::TempFolder());
    }
    EXPECT_TRUE(data.SkinUnparsed);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinDataTest, BitmapEntryThatIsNoBitmapReachesTheCallerAndLeavesTheSkinUnparsed) {
    testskin::FillStream(data.SkinStream, test::BadBitmapSkin());
    EXPECT_THROW(data.LoadSkinStream(), EInvalidGraphic);
    EXPECT_TRUE(data.SkinUnparsed);
}

TEST_F(SkinDataTest, StoredArchiveWrittenAndReadGivesTheSameBytesAndSkin) {
    Load(data, test::VariantSkin(1));
    TMemoryStream stored;
    data.WriteSkinStream(stored);
    EXPECT_EQ(stored.Size(), 4 + data.SkinStream.Size());

    TSkinData copy(nullptr);
    stored.SetPosition(0);
    copy.ReadSkinStream(stored);
    EXPECT_EQ(BytesOf(copy.SkinStream), BytesOf(data.SkinStream));
    EXPECT_FALSE(copy.SkinUnparsed);
    EXPECT_EQ(copy.ButtonFaceColour, test::FaceOf(1));

    // An empty stored archive is a count of 0 and leaves what is held alone.
    TSkinData empty(nullptr);
    TMemoryStream none;
    empty.WriteSkinStream(none);
    EXPECT_EQ(BytesOf(none), (Bytes{0, 0, 0, 0}));
    none.SetPosition(0);
    copy.ReadSkinStream(none);
    EXPECT_EQ(BytesOf(copy.SkinStream), BytesOf(data.SkinStream));
    EXPECT_FALSE(copy.SkinUnparsed);
}

TEST_F(SkinDataTest, StoredArchiveShorterThanItsCountIsRefused) {
    TMemoryStream stored;
    const Bytes cut = {0x10, 0, 0, 0, 1, 2, 3};
    testskin::FillStream(stored, cut);
    stored.SetPosition(0);
    EXPECT_THROW(data.ReadSkinStream(stored), EReadError);
    EXPECT_EQ(data.SkinStream.Size(), 0);
}

TEST_F(SkinDataTest, SkinFileThatDoesNotExistOnlyMarksTheSkinUnparsed) {
    Load(data, test::VariantSkin(0));
    const Bytes held = BytesOf(data.SkinStream);
    test::WorkFolder folder("skin-data");
    for (const std::string& path : {folder.Path() + "\\missing.skn", std::string()}) {
        data.SetSkinFile(path);
        EXPECT_EQ(data.SkinFile(), path);
        EXPECT_TRUE(data.SkinUnparsed);
        EXPECT_EQ(BytesOf(data.SkinStream), held);
        EXPECT_EQ(SkinManager, nullptr) << "nothing scheduled";
    }
}

TEST_F(SkinDataTest, SkinFileIsLoadedParsedAndAppliedAgainEachTimeItIsSet) {
    test::WorkFolder folder("skin-data");
    const std::string path = folder.Path() + "\\green.skn";
    test::WriteBytes(path, test::VariantSkin(1));
    for (int round = 0; round < 2; ++round) {
        data.SetSkinFile(path);
        EXPECT_FALSE(data.SkinUnparsed);
        EXPECT_EQ(data.ButtonFaceColour, test::FaceOf(1));
        ASSERT_NE(SkinManager, nullptr);
        EXPECT_EQ(SkinManager->PendingSkinData, &data);
        EXPECT_EQ(SkinManager->PendingAction, saSkinChanged);
        SkinManager->PendingSkinData = nullptr;
    }
}

class SkinDataStoreTest : public SkinDataTest {
protected:
    void SetUp() override {
        SkinDataTest::SetUp();
        for (int variant : {0, 2, 1, 0}) {
            auto* item = static_cast<TSkinCollectionItem*>(store.Store()->Add());
            testskin::FillStream(item->ItemStream, test::VariantSkin(variant));
        }
    }
    TSkinStore store{nullptr};
};

TEST_F(SkinDataStoreTest, IndexOutsideTheStoreChangesNothing) {
    data.LoadSkinFromStore(&store, 2);
    ASSERT_FALSE(data.SkinUnparsed);
    ASSERT_NE(SkinManager, nullptr);
    SkinManager->PendingSkinData = nullptr;
    const Bytes held = BytesOf(data.SkinStream);
    for (int index : {4, 5, -1}) {
        SCOPED_TRACE(index);
        data.LoadSkinFromStore(&store, index);
        EXPECT_EQ(BytesOf(data.SkinStream), held);
        EXPECT_FALSE(data.SkinUnparsed);
        EXPECT_EQ(data.ButtonFaceColour, test::FaceOf(1));
        EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
    }
}

TEST_F(SkinDataStoreTest, ItemIsCopiedWholeParsedAndApplied) {
    data.LoadSkinFromStore(&store, 1);
    EXPECT_EQ(BytesOf(data.SkinStream), BytesOf(store.Store()->Items(1)->ItemStream));
    EXPECT_EQ(data.ButtonFaceColour, test::FaceOf(2));
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->PendingSkinData, &data);
    EXPECT_EQ(SkinManager->PendingAction, saSkinChanged);
    EXPECT_EQ(SkinManager->SkinDataList(), (std::vector<TSkinData*>{&data}));
}

TEST_F(SkinDataTest, DescriptionSetsEveryPropertyAndTheStoredSkin) {
    const Bytes archive = test::VariantSkin(0);
    test::SkinDataFormPtr form = test::LoadSkinDataForm(
        "    Active = False\n"
        "    DisableTag = 42\n"
        "    SkinControls = [xcMainMenu, xcButton, xcFastReport]\n"
        "    Skin3rd.Strings = (\n      'TMyEdit=Edit'\n      'TMyCombo=Combobox')\n"
        "    SkinStore = '(Good)'\n"
        "    SkinFormtype = sfDialog\n"
        "    OnSkinChanged = SkinChanged\n" +
        test::StoredSkinLine(archive));
    TSkinData* skin = form->SkinData1();
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->DisableTag, 42);
    EXPECT_EQ(skin->SkinControls, SkinControlBit(xcMainMenu) | SkinControlBit(xcButton) | SkinControlBit(xcFastReport));
    ASSERT_EQ(skin->Skin3rd()->Count(), 2);
    EXPECT_EQ(skin->Skin3rd()->Get(1), "TMyCombo=Combobox");
    EXPECT_EQ(skin->SkinFormtype, sfDialog);
    EXPECT_EQ(BytesOf(skin->SkinStream), archive);
    EXPECT_FALSE(skin->SkinUnparsed);
    EXPECT_EQ(skin->ButtonFaceColour, test::FaceOf(0));
    ASSERT_TRUE(skin->OnSkinChanged);
    skin->DoSkinChanged();
    EXPECT_EQ(form->changes, 1);
    // Loaded: the component joined the manager.
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->SkinDataList(), (std::vector<TSkinData*>{skin}));
}

TEST_F(SkinDataTest, StoredSkinMayBeAPlainArchiveFileBesideTheDescription) {
    test::SkinDataFormPtr form = test::LoadSkinDataForm("    SkinStream = @'Builtin.skn'\n");
    const std::string_view file = ResourceBytes("BUILTIN_SKN");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(BytesOf(form->SkinData1()->SkinStream), Bytes(file.begin(), file.end()));
    EXPECT_FALSE(form->SkinData1()->SkinUnparsed);
}

TEST_F(SkinDataTest, LoadedMainComponentThatIsActiveWithoutASkinTurnsInactiveQuietly) {
    WindowsVersion = 0x80000004;  // as a test of the other family's branches leaves it
    test::SkinDataFormPtr form = test::LoadSkinDataForm("    Active = True\n");
    TSkinData* skin = form->SkinData1();
    ASSERT_NE(skin, nullptr);
    EXPECT_FALSE(skin->Active());
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_NE(SkinManager->CbtHook(), nullptr);
    EXPECT_EQ(WindowsVersion, GetVersion()) << "stored as the thread was hooked";
    EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
    EXPECT_FALSE(SkinManager->SkinningEnabled);
}

TEST_F(SkinDataTest, ComponentMadeInCodeStartsTheManagerWhenSwitchedOn) {
    Load(data, test::VariantSkin(0));
    ASSERT_EQ(SkinManager, nullptr);
    data.SetActive(true);
    EXPECT_TRUE(data.Active());
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->SkinDataList(), (std::vector<TSkinData*>{&data}));
    EXPECT_NE(SkinManager->CbtHook(), nullptr);
    // No window was activated yet: the switch alone takes effect.
    EXPECT_TRUE(SkinManager->SkinningEnabled);
    EXPECT_FALSE(SkinManager->ActionTimer()->Enabled());
}

TEST_F(SkinDataTest, SwitchingOnWithoutASkinSchedulesNothingButStaysOn) {
    data.SetActive(true);
    EXPECT_TRUE(data.Active());
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
    EXPECT_FALSE(SkinManager->SkinningEnabled);
    data.SetActive(true);
    EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
}

}  // namespace
}  // namespace pellix
