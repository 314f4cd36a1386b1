// The control sampler in the test skin and in each of the program's own
// skins: every control the control skins serve changes its look once
// skinned, and gets its own look back when the skins are dropped.
//
// With PELLIX_SAMPLER_HOLD_MS set, each skinned sampler stays on the screen
// that long (messages pumped) so that a screenshot can be taken of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

struct Region {
    std::string name;
    RECT rect;  // in the form's window coordinates
};

// Where each skinned control shows, in the form's window coordinates.
std::vector<Region> ControlRegions(TControlSampler& s) {
    std::vector<Region> regions;
    RECT form;
    GetWindowRect(s.Handle(), &form);
    auto add = [&](const std::string& name, HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        OffsetRect(&r, -form.left, -form.top);
        regions.push_back({name, r});
    };
    for (const char* name : {"Button1", "BitBtn1", "CheckBox1", "CheckBox2", "RadioButton1", "RadioGroup1", "Edit1",
                             "Edit2", "SpinEdit1", "ComboBox1", "ComboBox2", "UpDown1", "UpDown2", "TrackBar1",
                             "ProgressBar1", "Panel1", "GroupBox1", "StatusBar1"})
        add(name, s.Get<TWinControl>(name)->Handle());
    add("raw push button", s.Raw.PushButton);
    add("raw check box", s.Raw.CheckBox);
    add("raw radio button", s.Raw.RadioButton);
    add("raw edit", s.Raw.Edit);
    add("raw combo box", s.Raw.ComboBox);
    auto* speed = s.Get<TSpeedButton>("SpeedButton1");
    RECT client{0, 0, 0, 0};
    MapWindowPoints(s.Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 1);
    RECT r = speed->BoundsRect();
    OffsetRect(&r, client.left - form.left, client.top - form.top);
    regions.push_back({"SpeedButton1", r});
    return regions;
}

int Changed(const TWindowPicture& a, const TWindowPicture& b, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += a.At(x, y) != b.At(x, y);
    return n;
}

void HoldForScreenshot(const std::string& skin) {
    const char* hold = std::getenv("PELLIX_SAMPLER_HOLD_MS");
    if (hold == nullptr) return;
    printf("[ sampler  ] %s\n", skin.c_str());
    fflush(stdout);
    PumpUntil([] { return false; }, std::chrono::milliseconds(std::atoi(hold)));
}

class ControlSamplerTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ControlSamplerTest, EveryControlChangesItsLookSkinnedAndGetsItBack) {
    const std::string resource = GetParam();
    auto skin = resource == "TEST" ? LoadTestSkin() : LoadBuiltinSkin(resource);
    SamplerPtr sampler = ShowSampler();
    const TColor ownColour = sampler->Color();
    Repaint(sampler->Handle());
    const TWindowPicture before(sampler->Handle());

    auto host = std::make_unique<TTestHost>();
    SkinSampler(*sampler, skin.get(), *host);
    Repaint(sampler->Handle());
    const TWindowPicture skinned(sampler->Handle());
    const std::vector<Region> regions = ControlRegions(*sampler);
    for (const Region& region : regions)
        EXPECT_GT(Changed(before, skinned, region.rect), 0) << region.name << " looks as it did unskinned";
    HoldForScreenshot(resource);

    host.reset();  // the skins attached by handle go with the host
    sampler->SetColor(ownColour);
    PumpMessages();
    Repaint(sampler->Handle());
    const TWindowPicture after(sampler->Handle());
    for (const Region& region : regions)
        EXPECT_EQ(Changed(before, after, region.rect), 0) << region.name << " kept some of the skin";
}

INSTANTIATE_TEST_SUITE_P(Skins, ControlSamplerTest,
                         ::testing::Values("TEST", "BLUE_SKN", "SILVER_SKN", "GREEN_SKN", "BUILTIN_SKN"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace pellix::test
