// The main window's picture work in-process, against real folders: the
// preview fit, the single-picture road with its messages, the presets, the
// batch's label, cells, rows and files, and the failures that must name the
// file and leave earlier files alone.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/ThumbnailsMain.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/FileSystem.h"
#include "framework/FileCtrl.h"
#include "framework/Menus.h"
#include "framework/Screen.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/app/ThumbnailExpectations.h"
#include "tests/framework/PictureFixtures.h"
#include "tests/harness/Files.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Settings.h"

namespace pellix {
namespace {

namespace fs = std::filesystem;
using fixtures::Bytes;

using test::ReadText;
using test::WriteBytes;
const char kInvalid[] = "ERROR: This file is not a valid JPEG image - ";

std::vector<std::string> Items(TListBox& box) {
    std::vector<std::string> out;
    for (int i = 0; i < box.Items().Count(); ++i) out.push_back(box.Items().Get(i));
    return out;
}

std::vector<std::string> ScratchFilesIn(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".tmp") out.push_back(e.path().filename().string());
    return out;
}

class Gallery : public test::MainWindowFixture {
protected:
    Gallery() : MainWindowFixture("pellix-gallery-") {}
    void SetUp() override {
        MainWindowFixture::SetUp();
        input = folder + "\\pics\\";
        output = folder + "\\out\\";
        fs::create_directories(input);
        fs::create_directories(output);
        test::StoreSetting("Options\\User", "InputDir", input);
        test::StoreSetting("Options\\User", "OutputDir", output);
        test::StoreSetting("Options\\User", "URL", "http://www.example.org/");
        test::StoreSetting("Options\\User", "ImageDir", "pics/");
        test::StoreSetting("Options\\User", "ThumbDir", "pics/small/");
        Application->OnShowException = [this](const std::string& text) { errors.push_back(text); };
        MessageBoxHook = [this](const std::string& text, TMsgDlgType type, TMsgDlgButtons) {
            boxes.push_back(text);
            boxTypes.push_back(type);
            boxLabels.push_back(form ? form->LabelProcessing->Caption() : "");
            return 1;
        };
    }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
        MessageBoxHook = nullptr;
        Application->OnShowException = nullptr;
        MainWindowFixture::TearDown();
    }

    void Click(const char* name) {
        auto* button = dynamic_cast<TWinControl*>(form->FindComponent(name));
        ASSERT_NE(button, nullptr) << name;
        SendMessageA(button->Handle(), BM_CLICK, 0, 0);
        test::PumpMessages();
    }
    // Opens path through the File menu's picture dialog, as a user would.
    void OpenThroughDialog(const std::string& path) {
        test::ModalDriver driver([&] {
            HWND dlg = test::FindThreadWindow("#32770");
            if (dlg == nullptr) return false;
            HWND field = GetDlgItem(dlg, cmb13) != nullptr ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
            if (field == nullptr) return false;
            SetWindowTextA(field, path.c_str());
            test::Press(dlg, IDOK);
            return true;
        });
        auto* open = dynamic_cast<TMenuItem*>(form->FindComponent("Open1"));
        ASSERT_NE(open, nullptr);
        ASSERT_TRUE(open->OnClick);
        open->OnClick(open);
        EXPECT_FALSE(driver.TimedOut());
    }

    std::string input, output;
    std::vector<std::string> errors, boxes, boxLabels;
    std::vector<TMsgDlgType> boxTypes;
};

// ------------------------------------------------------------------ presets

TEST_F(Gallery, PresetButtonsSetTheLimitsAndTheProportionalBox) {
    TThumbnailsForm& f = Start();
    Click("Button88x88");
    EXPECT_EQ(f.SpinEditMaxWidth->Text(), "88");
    EXPECT_EQ(f.SpinEditMaxHeight->Text(), "88");
    EXPECT_FALSE(f.CheckBoxProportional->Checked());
    EXPECT_EQ(f.ListBox2->Items().Count(), 0) << "a preset makes no thumbnail";
    Click("Button200x200");
    EXPECT_EQ(f.SpinEditMaxWidth->Value(), 200);
    EXPECT_EQ(f.SpinEditMaxHeight->Value(), 200);
    EXPECT_TRUE(f.CheckBoxProportional->Checked());
}

// ------------------------------------------------------- opening a picture

TEST_F(Gallery, OpenOffersEveryPictureKindAndLoadsTheChosenFileCancelChangesNothing) {
    TThumbnailsForm& f = Start();
    EXPECT_EQ(f.OpenPictureDialog1->Filter,
              "All (*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.ico;"
              "*.emf;*.wmf|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|GIF "
              "(*.gif)|*.gif|PNG (*.png)|*.png|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|Icons "
              "(*.ico)|*.ico");
    const std::string gif = input + "moving.gif";
    WriteBytes(gif, fixtures::GifFile(40, 30));
    OpenThroughDialog(gif);
    EXPECT_TRUE(SameText(f.CurrentFile, gif)) << f.CurrentFile;
    ASSERT_NE(f.Image1->Picture()->Graphic(), nullptr);
    EXPECT_EQ(f.Image1->Picture()->Graphic()->ClassName(), "TGIFImage");
    EXPECT_EQ(f.Image2->Picture()->Graphic(), nullptr) << "the old thumbnail preview is emptied";

    test::ModalDriver cancel([] {
        HWND dlg = test::FindThreadWindow("#32770");
        if (dlg == nullptr) return false;
        test::Press(dlg, IDCANCEL);
        return true;
    });
    f.btnLoadClick(nullptr);
    EXPECT_TRUE(SameText(f.CurrentFile, gif));
    EXPECT_NE(f.Image1->Picture()->Graphic(), nullptr);
}

struct FitCase {
    const char* name;
    int width, height;
    RECT bounds;  // in Panel1, whose area inside the bevel is (1,1)-(319,292)
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }

class GalleryFit : public Gallery, public ::testing::WithParamInterface<FitCase> {};

TEST_P(GalleryFit, PreviewIsFittedIntoThePanelAndCentredNeverEnlarged) {
    const FitCase& c = GetParam();
    TThumbnailsForm& f = Start();
    f.CurrentFile = input + "fit.bmp";
    WriteBytes(f.CurrentFile, fixtures::BmpFile(c.width, c.height));
    f.LoadFile();
    EXPECT_EQ(f.Image1->Left(), c.bounds.left);
    EXPECT_EQ(f.Image1->Top(), c.bounds.top);
    EXPECT_EQ(f.Image1->Width(), c.bounds.right - c.bounds.left);
    EXPECT_EQ(f.Image1->Height(), c.bounds.bottom - c.bounds.top);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GalleryFit,
    ::testing::Values(FitCase{"SmallKeepsItsSize", 96, 72, {112, 110, 208, 182}},
                      FitCase{"WideFitsTheWidth", 640, 480, {1, 27, 319, 265}},
                      FitCase{"TallFitsTheHeight", 480, 640, {51, 1, 269, 292}},
                      // Fitted by its width alone it would be 318 high in a 291-high panel.
                      FitCase{"SquareStaysInsideThePanel", 1000, 1000, {15, 1, 306, 292}},
                      FitCase{"OneRowHigh", 2000, 10, {1, 146, 319, 147}},
                      FitCase{"OneColumnWide", 3, 3000, {160, 1, 161, 292}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Gallery, PreviewShowsThePictureFittedWithThePanelAroundIt) {
    TThumbnailsForm& f = Start();
    f.CurrentFile = input + "wide.bmp";
    WriteBytes(f.CurrentFile, fixtures::BmpFile(640, 480));
    f.LoadFile();
    f.Repaint();
    auto* panel = dynamic_cast<TWinControl*>(f.FindComponent("Panel1"));
    ASSERT_NE(panel, nullptr);
    HDC dc = GetDC(panel->Handle());
    auto at = [&](int x, int y) {
        COLORREF c = GetPixel(dc, x, y);
        return fixtures::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
    };
    const COLORREF face = ColorToRGB(panel->Color());
    // Picture rows 27..264: red top-left, white bottom-right; the panel shows above and below.
    EXPECT_EQ(at(20, 40), (fixtures::Rgb{255, 0, 0}));
    EXPECT_EQ(at(300, 250), (fixtures::Rgb{255, 255, 255}));
    EXPECT_EQ(at(160, 15), (fixtures::Rgb{GetRValue(face), GetGValue(face), GetBValue(face)}));
    EXPECT_EQ(at(160, 280), (fixtures::Rgb{GetRValue(face), GetGValue(face), GetBValue(face)}));
    ReleaseDC(panel->Handle(), dc);
}

struct InvalidCase {
    const char* name;
    const char* file;
    Bytes bytes;
};

void PrintTo(const InvalidCase& c, std::ostream* os) { *os << c.name; }

class GalleryInvalid : public Gallery, public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(GalleryInvalid, ShowsTheMessageEmptiesThePreviewAndCreateThenDoesNothing) {
    const InvalidCase& c = GetParam();
    TThumbnailsForm& f = Start();
    f.CurrentFile = input + "good.bmp";
    WriteBytes(f.CurrentFile, fixtures::BmpFile(30, 20));
    f.LoadFile();
    ASSERT_NE(f.Image1->Picture()->Graphic(), nullptr);

    f.CurrentFile = input + c.file;
    WriteBytes(f.CurrentFile, c.bytes);
    f.LoadFile();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], kInvalid + f.CurrentFile);
    EXPECT_EQ(boxTypes[0], TMsgDlgType::mtCustom) << "the plain message box";
    EXPECT_EQ(f.Image1->Picture()->Graphic(), nullptr);

    Click("btnExecute");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(f.ListBox2->Items().Count(), 0);
    EXPECT_FALSE(fs::exists(output + c.file));
}

const Bytes kGarbage = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e', 0, 1, 2, 3, 4, 5, 6, 7, 8};

Bytes Truncated(Bytes bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Kinds, GalleryInvalid,
                         ::testing::Values(InvalidCase{"Jpeg", "bad.jpg", kGarbage},
                                           InvalidCase{"EmptyJpeg", "empty.jpg", {}},
                                           InvalidCase{"JpegExtension", "bad.JPEG", kGarbage},
                                           InvalidCase{"Bitmap", "bad.bmp", kGarbage},
                                           InvalidCase{"CutBitmap", "cut.bmp", Truncated(fixtures::BmpFile(20, 20), 60)},
                                           InvalidCase{"Gif", "bad.gif", kGarbage},
                                           InvalidCase{"Icon", "bad.ico", kGarbage},
                                           InvalidCase{"Emf", "bad.emf", kGarbage},
                                           InvalidCase{"Wmf", "bad.wmf", kGarbage},
                                           InvalidCase{"UnknownExtension", "notes.txt", kGarbage}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Gallery, BrokenPngOrMissingFileEndsTheCommandNamingTheFileAndDropsTheOldPreview) {
    TThumbnailsForm& f = Start();
    for (const char* name : {"broken.png", "gone.jpg"}) {
        SCOPED_TRACE(name);
        f.CurrentFile = input + "good.bmp";
        WriteBytes(f.CurrentFile, fixtures::BmpFile(30, 20));
        f.LoadFile();
        f.CurrentFile = input + name;
        if (std::string(name) == "broken.png") WriteBytes(f.CurrentFile, kGarbage);
        try {
            f.LoadFile();
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(f.CurrentFile), std::string::npos) << e.Message();
        }
        EXPECT_TRUE(boxes.empty()) << "not the invalid-picture message";
        // Otherwise "Create" would save the earlier picture under this name.
        EXPECT_EQ(f.Image1->Picture()->Graphic(), nullptr);
    }
}

// ------------------------------------------------------------ single Create

TEST_F(Gallery, CreateBeforeAnyPictureIsOpenedDoesNothing) {
    TThumbnailsForm& f = Start();
    ASSERT_NE(f.Image1->Picture()->Graphic(), nullptr) << "the placeholder";
    Click("btnExecute");
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(f.ListBox2->Items().Count(), 0);
    EXPECT_TRUE(fs::is_empty(output));
}


TEST_F(Gallery, CreateSavesJpegDataUnderTheSourceNameReplacingAnOldFileAndListsIt) {
    test::StoreSetting("Options\\User", "Quality", "50");
    TThumbnailsForm& f = Start();
    WriteBytes(output + "old.jpg", fixtures::JpegFile(8, 8));
    f.ListOutputFiles();
    ASSERT_EQ(Items(*f.ListBox2), std::vector<std::string>{"old.jpg"});
    WriteBytes(output + "photo.bmp", kGarbage);
    f.CurrentFile = input + "photo.bmp";
    WriteBytes(f.CurrentFile, fixtures::BmpFile(400, 100));
    f.LoadFile();
    Click("btnExecute");
    ASSERT_TRUE(errors.empty()) << errors.front();

    const Bytes saved = fixtures::ReadFileBytes(output + "photo.bmp");
    const auto source = fixtures::LoadPicture(f.CurrentFile);
    EXPECT_EQ(saved, fixtures::ExpectedThumbnailFile(*source->Graphic(), 200, 50, 50));
    EXPECT_EQ(Items(*f.ListBox2), (std::vector<std::string>{"old.jpg", "photo.bmp"}));
    EXPECT_EQ(f.EditImageWidth->Text(), "200");
    EXPECT_EQ(f.EditImageHeight->Text(), "50");
    EXPECT_EQ(f.Image2->Picture()->Width(), 200);
    EXPECT_TRUE(SameText(GetCurrentDir(), output.substr(0, output.size() - 1))) << "the output folder becomes current";
    EXPECT_TRUE(ScratchFilesIn(output).empty());
}

TEST_F(Gallery, ThumbnailsOneRowHighAreEncodedLikeAnyOther) {
    TThumbnailsForm& f = Start();
    // 300 x 2 into 200 x 200: 200 x 1; an icon stretched to exactly 88 x 1.
    f.CurrentFile = input + "strip.bmp";
    WriteBytes(f.CurrentFile, fixtures::BmpFile(300, 2));
    f.LoadFile();
    Click("btnExecute");
    Click("Button88x88");
    f.SpinEditMaxHeight->SetValue(1);
    f.CurrentFile = input + "icon.ico";
    WriteBytes(f.CurrentFile, fixtures::IconFile());
    f.LoadFile();
    Click("btnExecute");
    ASSERT_TRUE(errors.empty()) << errors.front();
    const Bytes strip = fixtures::ReadFileBytes(output + "strip.bmp");
    EXPECT_EQ(fixtures::JpegSizeOf(strip).Width, 200);
    EXPECT_EQ(fixtures::JpegSizeOf(strip).Height, 1);
    const Bytes cross = fixtures::ReadFileBytes(output + "icon.ico");
    EXPECT_EQ(fixtures::JpegSizeOf(cross).Width, 88);
    EXPECT_EQ(fixtures::JpegSizeOf(cross).Height, 1);
}

TEST_F(Gallery, ThumbnailThatCannotReplaceTheOldFileNamesItAndLeavesItWhole) {
    TThumbnailsForm& f = Start();
    const Bytes old = fixtures::JpegFile(10, 10);
    WriteBytes(output + "busy.jpg", old);
    HANDLE lock = CreateFileA((output + "busy.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    f.CurrentFile = input + "busy.jpg";
    WriteBytes(f.CurrentFile, fixtures::JpegFile(64, 48));
    f.LoadFile();
    Click("btnExecute");
    CloseHandle(lock);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(output + "busy.jpg"), std::string::npos) << errors[0];
    EXPECT_EQ(fixtures::ReadFileBytes(output + "busy.jpg"), old);
    EXPECT_TRUE(ScratchFilesIn(output).empty());
    EXPECT_EQ(f.ListBox2->Items().Count(), 0) << "not listed when it failed";
}

// -------------------------------------------------------------------- batch

using fixtures::SampleCell;

// A picture's cell in the web file of the default site settings.
std::string WebCell(const std::string& name, int w, int h) {
    return SampleCell("http://www.example.org/pics/", "http://www.example.org/pics/small/", name, w, h);
}

TEST_F(Gallery, EmptyInputListWritesBareTablesIntoTheInputFolder) {
    TThumbnailsForm& f = Start();
    Click("ButtonThumbnails");
    ASSERT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(ReadText(input + "samples.html"),
              "<HTML>\r\n<BODY>\r\n<TABLE BORDER=1>\r\n<TR>\r\n</TR>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(ReadText(input + "generated.html"),
              "<!-- Change table border, cellspacing and cellpadding to suit -->\r\n"
              "<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=0>\r\n<TR>\r\n</TR>\r\n</TABLE>\r\n");
    EXPECT_FALSE(fs::exists(output + "samples.html"));
    EXPECT_EQ(f.LabelProcessing->Caption(), "");
}

struct RowCase {
    const char* name;
    int pictures, perRow;
    std::vector<int> rows;  // cells in each row, an empty last row included
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class GalleryRows : public Gallery, public ::testing::WithParamInterface<RowCase> {};

TEST_P(GalleryRows, CellsFollowTheListAndRowsBreakAfterThePerRowCount) {
    const RowCase& c = GetParam();
    test::StoreSetting("Options\\User", "ThumbsPerRow", std::to_string(c.perRow));
    for (int i = 0; i < c.pictures; ++i)
        WriteBytes(input + "p" + std::to_string(i) + ".jpg", fixtures::JpegFile(40 + i, 30));
    TThumbnailsForm& f = Start();
    const std::vector<std::string> listed = Items(*f.ListBox1);
    ASSERT_EQ(listed.size(), static_cast<size_t>(c.pictures));
    Click("ButtonThumbnails");
    ASSERT_TRUE(errors.empty()) << errors.front();

    std::vector<std::string> page, web;
    size_t next = 0;
    for (size_t r = 0; r < c.rows.size(); ++r) {
        if (r > 0) {
            page.insert(page.end(), {"</TR>", "<TR>"});
            web.insert(web.end(), {"</TR>", "<TR>"});
        }
        for (int cell = 0; cell < c.rows[r]; ++cell, ++next) {
            const std::string& name = listed[next];
            const int w = 40 + std::stoi(name.substr(1)), h = 30;  // small pictures keep their size
            page.push_back(SampleCell(input, output, name, w, h));
            web.push_back(WebCell(name, w, h));
        }
    }
    EXPECT_EQ(ReadText(output + "samples.html"), fixtures::SamplesHtml(page));
    EXPECT_EQ(ReadText(output + "generated.html"), fixtures::WebHtml(web));
    EXPECT_EQ(Items(*f.ListBox2), listed);
    EXPECT_FALSE(fs::exists(input + "samples.html"));
}

INSTANTIATE_TEST_SUITE_P(Cases, GalleryRows,
                         ::testing::Values(RowCase{"TenByFiveEndsWithAnEmptyRow", 10, 5, {5, 5, 0}},
                                           RowCase{"SevenByFive", 7, 5, {5, 2}},
                                           RowCase{"OnePerRow", 3, 1, {1, 1, 1, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Gallery, BatchShowsProgressUsesTheLastSizeForAnInvalidPictureAndRestoresWhatItChanged) {
    // Listing order is the file system's: read it back rather than assume it.
    WriteBytes(input + "a.jpg", fixtures::JpegFile(64, 48));
    WriteBytes(input + "b.jpg", kGarbage);
    WriteBytes(input + "c.jpg", fixtures::JpegFile(640, 480));
    TThumbnailsForm& f = Start();
    const std::vector<std::string> listed = Items(*f.ListBox1);
    ASSERT_EQ(listed.size(), 3u);
    const std::string before = GetCurrentDir();
    Screen->SetCursor(crArrow);
    Click("ButtonThumbnails");
    ASSERT_TRUE(errors.empty()) << errors.front();

    const size_t bad = std::find(listed.begin(), listed.end(), "b.jpg") - listed.begin();
    ASSERT_EQ(boxes, std::vector<std::string>{kInvalid + input + "b.jpg"});
    EXPECT_EQ(boxLabels[0], "Processing " + std::to_string(bad + 1) + " of 3");
    EXPECT_EQ(f.LabelProcessing->Caption(), "");
    EXPECT_EQ(Screen->Cursor(), crArrow);
    EXPECT_EQ(GetCurrentDir(), before);

    // The invalid picture's cell repeats the size shown before it: the last
    // thumbnail's, or the placeholder's 96 x 72 when it comes first.
    auto sizeOf = [](const std::string& name) { return name == "a.jpg" ? std::pair{64, 48} : std::pair{200, 150}; };
    std::vector<std::string> page;
    std::pair<int, int> shown{96, 72};
    std::vector<std::string> made;
    for (const std::string& name : listed) {
        if (name != "b.jpg") {
            shown = sizeOf(name);
            made.push_back(name);
        }
        page.push_back(SampleCell(input, output, name, shown.first, shown.second));
    }
    EXPECT_EQ(ReadText(output + "samples.html"), fixtures::SamplesHtml(page));
    EXPECT_EQ(Items(*f.ListBox2), made);
    EXPECT_FALSE(fs::exists(output + "b.jpg"));
}

TEST_F(Gallery, InputEqualToOutputPutsThumbnailsIntoThumbsAndMovesTheOutputList) {
    test::StoreSetting("Options\\User", "OutputDir", input);
    WriteBytes(input + "a.jpg", fixtures::JpegFile(50, 40));
    TThumbnailsForm& f = Start();
    Click("ButtonThumbnails");
    ASSERT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(f.OutputDir, input + "thumbs\\");
    EXPECT_EQ(f.DirectoryListBoxOutput->Directory(), input + "thumbs");
    EXPECT_TRUE(fs::exists(input + "thumbs\\a.jpg"));
    EXPECT_TRUE(fs::exists(input + "thumbs\\samples.html"));
    EXPECT_NE(ReadText(input + "thumbs\\samples.html").find("<IMG SRC=\"" + input + "thumbs\\a.jpg\""),
              std::string::npos);
}

TEST_F(Gallery, WithoutGenerateThumbnailsNothingIsSavedButEverythingIsListed) {
    test::StoreSetting("Options\\User", "Thumbnails", "0");
    test::StoreSetting("Options\\User", "HTML", "0");
    WriteBytes(input + "a.jpg", fixtures::JpegFile(50, 40));
    TThumbnailsForm& f = Start();
    Click("ButtonThumbnails");
    ASSERT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(Items(*f.ListBox2), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(f.EditImageWidth->Text(), "50");
    EXPECT_FALSE(fs::exists(output + "a.jpg"));
    EXPECT_FALSE(fs::exists(output + "generated.html"));
    EXPECT_NE(ReadText(output + "samples.html").find(SampleCell(input, output, "a.jpg", 50, 40)), std::string::npos);
}

TEST_F(Gallery, NamesOutsideAsciiKeepTheirUtf8BytesInFilesListsAndHtml) {
    const std::string name = "caf\xC3\xA9_\xE5\x86\x99\xE7\x9C\x9F.jpg";  // "café_写真.jpg"
    WriteBytes(input + name, fixtures::JpegFile(50, 40));
    TThumbnailsForm& f = Start();
    ASSERT_EQ(Items(*f.ListBox1), std::vector<std::string>{name});
    Click("ButtonThumbnails");
    ASSERT_TRUE(errors.empty()) << errors.front();
    EXPECT_TRUE(fs::exists(fs::u8path(output + name)));
    EXPECT_EQ(Items(*f.ListBox2), std::vector<std::string>{name});
    EXPECT_NE(ReadText(output + "generated.html").find(WebCell(name, 50, 40)), std::string::npos);
}

TEST_F(Gallery, AListedPictureThatHasGoneEndsTheBatchNamingItAndKeepsEarlierFiles) {
    WriteBytes(input + "a.jpg", fixtures::JpegFile(50, 40));
    WriteBytes(input + "b.jpg", fixtures::JpegFile(50, 40));
    const std::string oldPage = "<HTML>old</HTML>\r\n";
    TThumbnailsForm& f = Start();
    WriteBytes(output + "samples.html", Bytes(oldPage.begin(), oldPage.end()));
    const std::vector<std::string> listed = Items(*f.ListBox1);
    ASSERT_EQ(listed.size(), 2u);
    fs::remove(input + listed[1]);
    const std::string before = GetCurrentDir();
    Click("ButtonThumbnails");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(input + listed[1]), std::string::npos) << errors[0];
    EXPECT_TRUE(fs::exists(output + listed[0])) << "the thumbnail made before stays";
    EXPECT_EQ(ReadText(output + "samples.html"), oldPage) << "an ended batch writes no HTML";
    EXPECT_FALSE(fs::exists(output + "generated.html"));
    EXPECT_EQ(f.LabelProcessing->Caption(), "");
    EXPECT_EQ(GetCurrentDir(), before);
}

TEST_F(Gallery, AnHtmlFileThatCannotBeReplacedNamesItAndStaysWhole) {
    WriteBytes(input + "a.jpg", fixtures::JpegFile(50, 40));
    const std::string oldPage = "<HTML>old</HTML>\r\n";
    TThumbnailsForm& f = Start();
    WriteBytes(output + "generated.html", Bytes(oldPage.begin(), oldPage.end()));
    HANDLE lock =
        CreateFileA((output + "generated.html").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Click("ButtonThumbnails");
    CloseHandle(lock);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(output + "generated.html"), std::string::npos) << errors[0];
    EXPECT_EQ(ReadText(output + "generated.html"), oldPage);
    EXPECT_TRUE(fs::exists(output + "samples.html")) << "written before it";
    EXPECT_TRUE(ScratchFilesIn(output).empty());
    EXPECT_EQ(f.LabelProcessing->Caption(), "");
}

}  // namespace
}  // namespace pellix
