// The screen object: forms in creation order, the active form, and a cursor
// that is shown at once and stays while the pointer moves over the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/Screen.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

using FormPtr = std::unique_ptr<TForm, ComponentFree>;

FormPtr MakeForm(int left) {
    FormPtr form(new TForm(nullptr));
    form->SetBounds(left, 100, 300, 200);
    return form;
}

int IndexOnScreen(TCustomForm* form) {
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i) == form) return i;
    return -1;
}

TEST(Screen, KeepsFormsInCreationOrder) {
    int before = Screen->FormCount();
    FormPtr a = MakeForm(50), b = MakeForm(400), c = MakeForm(750);
    ASSERT_EQ(Screen->FormCount(), before + 3);
    EXPECT_EQ(IndexOnScreen(a.get()), before);
    EXPECT_EQ(IndexOnScreen(b.get()), before + 1);
    EXPECT_EQ(IndexOnScreen(c.get()), before + 2);
    b.reset();
    EXPECT_EQ(Screen->FormCount(), before + 2);
    EXPECT_EQ(IndexOnScreen(c.get()), before + 1);
}

TEST(Screen, ActiveFormFollowsActivation) {
    FormPtr a = MakeForm(50), b = MakeForm(400);
    a->Show();
    b->Show();
    test::PumpMessages();
    EXPECT_EQ(Screen->ActiveForm(), b.get());
    SetActiveWindow(a->Handle());
    test::PumpMessages();
    EXPECT_EQ(Screen->ActiveForm(), a.get());
    TForm* freed = a.get();
    a.reset();
    EXPECT_NE(Screen->ActiveForm(), freed) << "a freed form is active no longer";
}

// A windowed child without a cursor of its own: it asks its parent.
class TPlainChild : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::string ClassName() const override { return "TPlainChild"; }
};

class ScreenCursor : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeForm(200);
        child = new TPlainChild(form.get());  // owned by the form
        child->SetBounds(150, 20, 100, 80);
        child->SetParent(form.get());
        form->Show();
        test::PumpMessages();
        wait = LoadCursorA(nullptr, IDC_WAIT);
        arrow = LoadCursorA(nullptr, IDC_ARROW);
    }
    void TearDown() override {
        Screen->SetCursor(crDefault);
        form.reset();
        test::PumpMessages();
    }
    // Moves the pointer onto the client point of a window, by way of another
    // point so that a move really happens.
    void PointAt(TWinControl* control, int x, int y) {
        POINT p{x, y};
        ClientToScreen(control->Handle(), &p);
        SetCursorPos(p.x + 3, p.y + 3);
        test::PumpMessages();
        SetCursorPos(p.x, p.y);
        test::PumpMessages();
    }

    FormPtr form;
    TPlainChild* child = nullptr;
    HCURSOR wait = nullptr, arrow = nullptr;
};

TEST_F(ScreenCursor, IsAppliedAtOnceAndKeptOverTheFormAndItsControls) {
    PointAt(form.get(), 20, 20);
    ASSERT_EQ(GetCursor(), arrow) << "the class cursor before";
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    EXPECT_EQ(GetCursor(), wait);
    PointAt(form.get(), 60, 40);
    EXPECT_EQ(GetCursor(), wait) << "the form's own cursor does not come back";
    PointAt(child, 30, 30);
    EXPECT_EQ(GetCursor(), wait) << "nor the control's";
}

TEST_F(ScreenCursor, DefaultGivesTheWindowsTheirOwnCursorBack) {
    PointAt(child, 30, 30);
    Screen->SetCursor(crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(GetCursor(), arrow) << "at once, under the pointer";
    PointAt(form.get(), 20, 20);
    EXPECT_EQ(GetCursor(), arrow);
}

TEST(Screen, MenuFontIsTheSystemsMenuFont) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    TFont* font = Screen->MenuFont();
    EXPECT_EQ(font->Name(), metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(font->Height(), metrics.lfMenuFont.lfHeight);
    EXPECT_EQ((font->Style() & fsBold) != 0, metrics.lfMenuFont.lfWeight >= FW_SEMIBOLD);
    EXPECT_EQ(Screen->MenuFont(), font) << "one font object";
}

}  // namespace
}  // namespace pellix
