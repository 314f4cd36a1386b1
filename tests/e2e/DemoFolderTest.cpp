// The folder scripts/run.sh starts the program in. The build's test step makes
// it with the same script into "demo-samples" beside this test before the
// test runs: a first start there lists every sample picture, and "Create"
// makes the gallery of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/ThumbnailExpectations.h"
#include "tests/harness/Files.h"
#include "tests/harness/Program.h"
#include "tests/harness/Settings.h"

namespace pellix::test {
namespace {

namespace fs = std::filesystem;

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";

JpegHeader JpegSizeOfFile(const std::string& path) { return fixtures::JpegSizeOf(fixtures::ReadFileBytes(path)); }

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DemoFolder, FirstStartListsEverySamplePictureAndCreateMakesTheirGallery) {
    const std::string folder = ExeFolder() + "demo-samples";
    const std::string images = folder + "\\images\\";
    ASSERT_TRUE(fs::is_directory(images)) << "no sample pictures were made in " << images;

    // Every file made, and the shapes the set is meant to show.
    std::vector<std::string> made;
    bool landscape = false, portrait = false, square = false, veryWide = false;
    for (const fs::directory_entry& entry : fs::directory_iterator(images)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().filename().string();
        made.push_back(name);
        const JpegHeader size = JpegSizeOfFile(images + name);
        ASSERT_TRUE(size.Width > 0 && size.Height > 0) << name << " is not a JPEG picture";
        landscape |= size.Width > size.Height;
        portrait |= size.Width < size.Height;
        square |= size.Width == size.Height;
        veryWide |= size.Width >= 3 * size.Height;
    }
    made = Sorted(made);
    EXPECT_TRUE(landscape && portrait && square && veryWide)
        << "landscape " << landscape << ", portrait " << portrait << ", square " << square << ", very wide " << veryWide;

    // A first start, as on a fresh machine; thumbnails of an earlier run go.
    fs::remove_all(images + "thumbs");
    DeleteSettings();
    Program program(folder);
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForWindow(kCaption);
    ASSERT_NE(main, nullptr) << "no window captioned " << kCaption;
    HWND multiple = ChildOf(main, "TGroupBox", "Multiple Images");
    ASSERT_NE(multiple, nullptr);
    std::vector<Child> lists;
    for (const Child& c : Children(multiple))
        if (c.cls == "TListBox") lists.push_back(c);
    ASSERT_EQ(lists.size(), 2u);
    std::sort(lists.begin(), lists.end(), [](const Child& a, const Child& b) { return a.rect.left < b.rect.left; });
    EXPECT_EQ(Sorted(ListItems(lists[0].hwnd)), made) << "the input list";

    HWND create = ChildOf(multiple, "TButton", "Create");
    ASSERT_NE(create, nullptr);
    // A message box would hold the click until the time-out.
    ASSERT_TRUE(ClickAndWait(create, 60000)) << "\"Create\" did not finish";
    const std::string thumbs = images + "thumbs\\";
    for (const std::string& name : made) {
        if (!fs::exists(thumbs + name)) {
            ADD_FAILURE() << "no thumbnail of " << name;
            continue;
        }
        const JpegHeader size = JpegSizeOfFile(thumbs + name);
        EXPECT_TRUE(size.Width > 0 && size.Width <= 200 && size.Height > 0 && size.Height <= 200)
            << name << ": " << size.Width << " x " << size.Height;
    }
    EXPECT_EQ(Sorted(ListItems(lists[1].hwnd)), made) << "the thumbnail list";
    for (const char* page : {"samples.html", "generated.html"}) {
        if (!fs::exists(thumbs + page)) {
            ADD_FAILURE() << page << " was not written";
            continue;
        }
        const std::string text = ReadText(thumbs + page);
        for (const std::string& name : made) EXPECT_NE(text.find(name), std::string::npos) << page << " lacks " << name;
    }

    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    EXPECT_TRUE(program.WaitForExit(15000, code)) << "still running after WM_CLOSE";
    EXPECT_EQ(code, 0u);
    DeleteSettings();
}

}  // namespace
}  // namespace pellix::test
