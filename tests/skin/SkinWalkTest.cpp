// The control walk: which skin every control of a form and every raw child of
// a plain window gets, under each family switch, Tag, Skin3rd line and the
// application's own choice; and the popup menus handed to the frame's owner
// drawing and back.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/FileCtrl.h"
#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/ListView.h"
#include "framework/Menus.h"
#include "framework/ScrollBar.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "framework/TabControls.h"
#include "framework/Tabs.h"
#include "skin/SkinScrollBars.h"
#include "skin/SkinWalk.h"
#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

// A framework class under another class name: the name rows and the Skin3rd
// lines go by it.
template <class Base>
class TNamed : public Base {
public:
    TNamed(TComponent* owner, std::string name) : Base(owner), name_(std::move(name)) {}
    std::string ClassName() const override { return name_; }

private:
    std::string name_;
};

// A container with the published switches the walk sets by name.
class TSwitches : public TCustomControl {
public:
    TSwitches(TComponent* owner, std::string name) : TCustomControl(owner), name_(std::move(name)) {}
    std::string ClassName() const override { return name_; }
    bool Flat = false;
    bool Transparent = false;

private:
    std::string name_;
};

// The class names the tests use that have published properties. A name may
// also be taken by a control without them.
void RegisterTestClasses() {
    static const bool registered = [] {
        auto set = [](bool TSwitches::*member) {
            return [member](TPersistent& target, const FormValue& v, LoadContext& x) {
                if (auto* s = dynamic_cast<TSwitches*>(&target)) s->*member = x.Bool(v);
            };
        };
        for (const char* cls : {"TDBNavigator", "TFancy"})
            RegisterClassInfo(cls, "TCustomControl")
                .Property("Flat", set(&TSwitches::Flat))
                .Property("Transparent", set(&TSwitches::Transparent));
        RegisterClassInfo("TMyToolBar", "TToolBar");
        return true;
    }();
    (void)registered;
}

// The system's date and time picker, as a foreign class would show it.
class TTestPicker : public TWinControl {
public:
    TTestPicker(TComponent* owner, bool upDown) : TWinControl(owner), upDown_(upDown) {}
    std::string ClassName() const override { return "TDateTimePicker"; }

protected:
    void CreateParams(TCreateParams& params) override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
        InitCommonControlsEx(&icc);
        TWinControl::CreateParams(params);
        params.SysClassName = DATETIMEPICK_CLASSA;
        if (upDown_) params.Style |= DTS_UPDOWN;
    }

private:
    bool upDown_;
};

// What the walk gave one control.
struct TExpect {
    std::string Skin;  // the skin's class name; empty for none
    bool Listed = false;
    bool Coloured = false;
};

inline std::ostream& operator<<(std::ostream& os, const TExpect& e) {
    return os << "{" << (e.Skin.empty() ? "no skin" : e.Skin) << (e.Listed ? ", listed" : "")
              << (e.Coloured ? ", face colour" : "") << "}";
}
bool operator==(const TExpect& a, const TExpect& b) {
    return a.Skin == b.Skin && a.Listed == b.Listed && a.Coloured == b.Coloured;
}

const TExpect None{};
TExpect Listed(const char* skin, bool coloured = false) { return {skin, true, coloured}; }
TExpect Unlisted(const char* skin) { return {skin, false, false}; }

// One control of every kind the framework has, the foreign classes the rows
// name, and plain controls with the Tags that steer the walk.
class TWalkForm {
public:
    TWalkForm() {
        RegisterTestClasses();
        Form.reset(new TForm(nullptr));
        Form->SetName("WalkForm");
        Form->SetBounds(0, 0, 1000, 760);
        Form->Show();
        TForm* f = Form.get();
        Add<TButton>("Button1", f);
        Add<TBitBtn>("BitBtn1", f);
        Add<TSpeedButton>("SpeedButton1", f);
        Add<TCheckBox>("CheckBox1", f);
        Add<TRadioButton>("RadioButton1", f);
        auto* group = Add<TRadioGroup>("RadioGroup1", f);
        group->Items().Add("First");
        group->Items().Add("Second");
        Add<TEdit>("Edit1", f);
        Add<TSpinEdit>("SpinEdit1", f);
        Add<TMemo>("Memo1", f);
        Add<TListBox>("ListBox1", f);
        Add<TDirectoryListBox>("DirectoryListBox1", f);
        Add<TComboBox>("ComboBox1", f);
        Add<TDriveComboBox>("DriveComboBox1", f);
        Add<TUpDown>("UpDown1", f);
        Add<TTrackBar>("TrackBar1", f);
        Add<TProgressBar>("ProgressBar1", f);
        Add<TPanel>("Panel1", f);
        Add<TGroupBox>("GroupBox1", f);
        Add<TStatusBar>("StatusBar1", f);
        Add<TScrollBar>("ScrollBar1", f);
        Add<TTabControl>("TabControl1", f)->Tabs().Add("Tab");
        Add<TPageControl>("PageControl1", f);
        Add<TTabSet>("TabSet1", f)->Tabs().Add("Tab");
        Add<TListView>("ListView1", f);
        Add<TToolBar>("ToolBar1", f);
        Add<TNamed<TToolBar>>("ToolBar2", f, "TMyToolBar");
        Add<TNamed<TCustomGrid>>("Grid1", f, "TStringGrid");
        Add<TNamed<TCustomTreeView>>("TreeView1", f, "TTreeView");
        Add<TScrollBox>("ScrollBox1", f);
        Add<TLabel>("Label1", f);
        auto* frame = Add<TNamed<TCustomFrame>>("Frame1", f, "TFrame1");
        AddIn<TButton>("FrameButton", frame, frame);
        inner = new TForm(f);  // owned by the form
        inner->SetName("InnerForm");
        controls["InnerForm"] = inner;
        colours["InnerForm"] = inner->Color();
        AddIn<TButton>("InnerButton", inner, inner);

        Add<TNamed<TCustomComboBox>>("DBComboBoxEh1", f, "TDBComboBoxEh");
        auto* mvc = Add<TNamed<TCustomControl>>("MvcPanel1", f, "TMVCPanel");
        AddIn<TButton>("MvcButton", mvc, mvc);
        Add<TSwitches>("DBNavigator1", f, "TDBNavigator");
        Add<TTestPicker>("UpDownPicker", f, true);
        Add<TTestPicker>("ComboPicker", f, false);
        Add<TNamed<TCustomControl>>("RichEdit1", f, "TRichEdit");
        Add<TNamed<TCustomControl>>("WwRichEdit1", f, "TwwDBRichEdit");
        Add<TNamed<TCustomControl>>("DxMemo1", f, "TdxDBMemo");
        Add<TNamed<TCustomControl>>("DxTreeList1", f, "TdxTreeList");
        Add<TNamed<TCustomControl>>("DxGrid1", f, "TdxDBGrid");
        Add<TNamed<TCustomControl>>("Notebook1", f, "TTabbedNotebook");
        Add<TNamed<TTrackBar>>("TrackBarPlus1", f, "TTrackBarPlus");
        Add<TNamed<TCustomControl>>("LmdEdit1", f, "TLMDEdit");

        Add<TNamed<TCustomControl>>("Tag95", f, "TPlain")->Tag = 95;
        Add<TNamed<TCustomControl>>("Tag195", f, "TPlain")->Tag = 195;
        Add<TNamed<TCustomControl>>("TagMinus95", f, "TPlain")->Tag = -95;
        Add<TNamed<TCustomControl>>("Tag96", f, "TPlain")->Tag = 96;
        Add<TNamed<TCustomControl>>("Tag97", f, "TPlain")->Tag = 97;
        Add<TNamed<TCustomControl>>("Tag55", f, "TPlain")->Tag = 55;
        Add<TNamed<TCustomControl>>("Tag155", f, "TPlain")->Tag = 155;
        Add<TEdit>("EditTag96", f)->Tag = 96;
        Add<TButton>("ButtonTag99", f)->Tag = 99;
        Add<TButton>("ButtonTag199", f)->Tag = 199;
        Add<TLabel>("LabelTag95", f)->Tag = 95;

        auto* popup = new TPopupMenu(f);  // owned by the form
        popup->Tag = 97;                  // a component that is no control: no edit skin
        new TTimer(f);                    // owned by the form
        PumpMessages();
    }

    template <class T, class... Args>
    T* Add(const std::string& name, TComponent* owner, Args&&... args) {
        return AddTo<T>(name, owner, Form.get(), std::forward<Args>(args)...);
    }
    template <class T>
    T* AddIn(const std::string& name, TComponent* owner, TWinControl* parent) {
        return AddTo<T>(name, owner, parent);
    }
    template <class T, class... Args>
    T* AddTo(const std::string& name, TComponent* owner, TWinControl* parent, Args&&... args) {
        auto* control = new T(owner, std::forward<Args>(args)...);  // owned by owner
        control->SetName(name);
        const int at = static_cast<int>(controls.size());
        control->SetParent(parent);
        if (parent == Form.get()) control->SetBounds(10 + at % 7 * 140, 40 + at / 7 * 62, 130, 50);
        else control->SetBounds(10, 10, 80, 25);
        controls[name] = control;
        colours[name] = control->Color();
        return control;
    }

    TControl* operator[](const std::string& name) const { return controls.at(name); }

    std::unique_ptr<TForm, ComponentFree> Form;
    TForm* inner = nullptr;
    std::map<std::string, TControl*> controls;
    std::map<std::string, TColor> colours;  // before the walk
};

// The skins of the host that serve the control, by class name.
std::vector<TSkinControl*> SkinsOf(const TTestHost& host, TControl* control) {
    auto* windowed = dynamic_cast<TWinControl*>(control);
    std::vector<TSkinControl*> found;
    for (int i = 0; i < host.ComponentCount(); ++i) {
        auto* skin = dynamic_cast<TSkinControl*>(host.Components(i));
        if (skin == nullptr) continue;
        const bool serves = skin->Control == control || skin->GraphicControl == control ||
                            (windowed != nullptr && windowed->HandleAllocated() && skin->Handle == windowed->Handle());
        if (serves) found.push_back(skin);
    }
    return found;
}

TExpect Outcome(const TWalkForm& form, const TTestHost& host, const std::string& name) {
    TControl* control = form[name];
    const std::vector<TSkinControl*> skins = SkinsOf(host, control);
    EXPECT_LE(skins.size(), 1u) << name << " has more than one skin";
    TExpect outcome;
    if (!skins.empty()) {
        outcome.Skin = skins.front()->ClassName();
        const auto& list = host.ControlSkins;
        outcome.Listed = std::find(list.begin(), list.end(), skins.front()) != list.end();
    }
    outcome.Coloured = control->Color() != form.colours.at(name);
    return outcome;
}

// The walk over the whole test form with every family on and the test skin.
std::map<std::string, TExpect> FullWalk() {
    return {
        {"Button1", Listed("TSkinButton")},
        {"BitBtn1", Listed("TSkinBitButton")},
        {"SpeedButton1", Listed("TSkinSpeedButton")},
        {"CheckBox1", Listed("TSkinCheckBox", true)},
        {"RadioButton1", Listed("TSkinRadioButton", true)},
        {"RadioGroup1", Listed("TSkinBox", true)},
        {"Edit1", Unlisted("TSkinEdit")},
        {"SpinEdit1", Unlisted("TSkinEdit")},
        {"Memo1", Listed("TSkinScrollBar")},
        {"ListBox1", Listed("TSkinScrollBar")},
        {"DirectoryListBox1", Listed("TSkinScrollBar")},
        {"ComboBox1", Listed("TSkinComBox")},
        {"DriveComboBox1", Listed("TSkinComBox")},
        {"UpDown1", Listed("TSkinUpDown")},
        {"TrackBar1", Listed("TSkinTrackBar")},
        {"ProgressBar1", Listed("TSkinProgress")},
        {"Panel1", Listed("TSkinBox", true)},
        {"GroupBox1", Listed("TSkinBox", true)},
        {"StatusBar1", Listed("TSkinStatusBar")},
        {"ScrollBar1", Listed("TSkinScControl")},
        {"TabControl1", Listed("TSkinTab")},
        {"PageControl1", Listed("TSkinTab")},
        {"TabSet1", Listed("TSkinTab31")},
        {"ListView1", Listed("TSkinListView")},
        {"ToolBar1", {"", false, true}},
        {"ToolBar2", Listed("TSkinBox", true)},
        {"Grid1", Listed("TSkinScrollBar")},
        {"TreeView1", Listed("TSkinScrollBar")},
        {"ScrollBox1", Listed("TSkinScrollBar")},
        {"Label1", None},
        {"Frame1", None},
        {"FrameButton", Listed("TSkinButton")},
        {"InnerForm", {"", false, true}},
        {"InnerButton", Listed("TSkinButton", true)},  // the inner form's new colour, as its parent
        {"DBComboBoxEh1", None},
        {"MvcPanel1", None},
        {"MvcButton", Listed("TSkinButton")},
        {"DBNavigator1", Listed("TSkinBox", true)},
        {"UpDownPicker", Listed("TSkinEdit")},
        {"ComboPicker", Listed("TSkinComBox")},
        {"RichEdit1", Listed("TSkinScrollBar")},
        {"WwRichEdit1", Listed("TSkinScrollBar")},
        {"DxMemo1", Listed("TSkinScrollBar")},
        {"DxTreeList1", Listed("TSkinScrollBar")},
        {"DxGrid1", Listed("TSkinScrollBar")},
        {"Notebook1", Listed("TSkinTab")},
        {"TrackBarPlus1", None},
        {"LmdEdit1", Unlisted("TSkinEdit")},
        {"Tag95", Listed("TSkinComBox")},
        {"Tag195", Listed("TSkinComBox")},
        {"TagMinus95", None},
        {"Tag96", Listed("TSkinScrollBar")},
        {"Tag97", Unlisted("TSkinEdit")},
        {"Tag55", Listed("TSkinScrollBar")},
        {"Tag155", None},
        {"EditTag96", Listed("TSkinScrollBar")},
        {"ButtonTag99", None},
        {"ButtonTag199", None},
        {"LabelTag95", None},
    };
}

struct TWalkCase {
    std::string Name;
    std::function<void(TSkinData&)> Setup;
    std::map<std::string, TExpect> Changes;  // from FullWalk
    testskin::TTestSkinOptions Skin{};
};

std::ostream& operator<<(std::ostream& os, const TWalkCase& c) { return os << c.Name; }

TSkinControlTypes Without(TSkinControlType type) { return DefaultSkinControls & ~SkinControlBit(type); }
std::function<void(TSkinData&)> Clear(TSkinControlType type) {
    return [type](TSkinData& d) { d.SkinControls = Without(type); };
}

testskin::TTestSkinOptions WithoutTabs() {
    testskin::TTestSkinOptions options;
    options.Omit = {testskin::TElement::Tabs};
    return options;
}

const TWalkCase kWalkCases[] = {
    {"EveryFamily", {}, {}},
    {"NoButtons", Clear(xcButton),
     {{"Button1", None}, {"TrackBar1", None}, {"UpDown1", None}, {"FrameButton", None},
      {"InnerButton", {"", false, true}}, {"MvcButton", None}}},
    // A bit button is a push button too.
    {"NoBitButtons", Clear(xcBitBtn), {{"BitBtn1", Listed("TSkinButton")}}},
    {"NoSpeedButtons", Clear(xcSpeedButton), {{"SpeedButton1", None}}},
    {"NoCheckBoxes", Clear(xcCheckBox), {{"CheckBox1", None}}},
    // The radio group is still a group box, and gets the box's face only.
    {"NoRadioButtons", Clear(xcRadioButton), {{"RadioButton1", None}}},
    {"NoPanels", Clear(xcPanel), {{"Panel1", None}, {"GroupBox1", None}, {"DBNavigator1", None}}},
    // The exact tool-bar class is made flat whatever the switch says.
    {"NoToolbars", Clear(xcToolbar), {{"ToolBar2", None}}},
    {"NoStatusBars", Clear(xcStatusBar), {{"StatusBar1", None}}},
    {"NoProgressBars", Clear(xcProgress), {{"ProgressBar1", None}}},
    // A memo and an edit with Tag 96 fall through to the edit row.
    {"NoScrollBars", Clear(xcScrollbar),
     {{"Memo1", Unlisted("TSkinEdit")}, {"ListBox1", None}, {"DirectoryListBox1", None}, {"ScrollBar1", None},
      {"ListView1", None}, {"Grid1", None}, {"TreeView1", None}, {"ScrollBox1", None}, {"RichEdit1", None},
      {"WwRichEdit1", None}, {"DxMemo1", None}, {"DxTreeList1", None}, {"DxGrid1", None}, {"Tag96", None},
      {"Tag55", None}, {"EditTag96", Unlisted("TSkinEdit")}}},
    {"NoComboBoxes", Clear(xcCombo), {{"ComboBox1", None}, {"DriveComboBox1", None}, {"Tag95", None}, {"Tag195", None}}},
    {"NoEdits", Clear(xcEdit),
     {{"Edit1", None}, {"SpinEdit1", None}, {"Tag97", None}, {"UpDownPicker", None}, {"ComboPicker", None},
      {"LmdEdit1", None}}},
    {"NoTabs", Clear(xcTab), {{"TabControl1", None}, {"PageControl1", None}, {"TabSet1", None}, {"Notebook1", None}}},
    {"SkinWithoutTabs", {}, {{"TabControl1", None}, {"PageControl1", None}, {"TabSet1", None}, {"Notebook1", None}},
     WithoutTabs()},
    // Families the walk does not read.
    {"NoGroupBoxesMenusOrControlBars",
     [](TSkinData& d) {
         d.SkinControls &= ~(SkinControlBit(xcGroupBox) | SkinControlBit(xcMainMenu) |
                             SkinControlBit(xcPopupMenu) | SkinControlBit(xcControlbar));
     },
     {}},
    {"DisableTag55", [](TSkinData& d) { d.DisableTag = 55; },
     {{"Tag55", None}, {"Tag155", None}, {"ButtonTag99", Listed("TSkinButton")},
      {"ButtonTag199", Listed("TSkinButton")}}},
    {"DisableTag95", [](TSkinData& d) { d.DisableTag = 95; },
     {{"Tag95", None}, {"Tag195", None}, {"ButtonTag99", Listed("TSkinButton")},
      {"ButtonTag199", Listed("TSkinButton")}}},
    {"NoSkin3rdLines", [](TSkinData& d) { d.Skin3rd()->Clear(); }, {{"LmdEdit1", None}}},
};

class SkinWalkTableTest : public ::testing::TestWithParam<TWalkCase> {};

TEST_P(SkinWalkTableTest, EveryControlGetsTheSkinOfItsRow) {
    const TWalkCase& c = GetParam();
    auto skin = LoadTestSkin(c.Skin);
    if (c.Setup) c.Setup(*skin);
    TWalkForm form;
    TTestHost host;
    TControlWalk walk(host, *skin);
    walk.FormName = form.Form->Name();
    walk.SkinChildControls(form.Form.get());

    std::map<std::string, TExpect> expected = FullWalk();
    for (const auto& [name, change] : c.Changes) expected.at(name) = change;
    for (const auto& [name, expect] : expected) EXPECT_EQ(Outcome(form, host, name), expect) << name;
    ASSERT_EQ(form.controls.size(), expected.size()) << "a control of the form has no expectation";

    for (int i = 0; i < host.ComponentCount(); ++i) EXPECT_EQ(host.Components(i)->Owner(), &host);
    for (TSkinControl* listed : host.ControlSkins) EXPECT_EQ(listed->Owner(), &host);
}

INSTANTIATE_TEST_SUITE_P(Cases, SkinWalkTableTest, ::testing::ValuesIn(kWalkCases),
                         [](const ::testing::TestParamInfo<TWalkCase>& info) { return info.param.Name; });

// What the rows do beside choosing a skin.
class SkinWalkTest : public ::testing::Test {
protected:
    std::unique_ptr<TSkinData, ComponentFree> skin = LoadTestSkin();
    TWalkForm form;
    TTestHost host;

    TControlWalk Walk() {
        TControlWalk walk(host, *skin);
        walk.FormName = form.Form->Name();
        return walk;
    }
    template <class T>
    T* Get(const std::string& name) {
        return dynamic_cast<T*>(form[name]);
    }
};

TEST_F(SkinWalkTest, RowsSetTheirControlsUp) {
    Get<TStatusBar>("StatusBar1")->SetSizeGrip(true);
    Walk().SkinChildControls(form.Form.get());
    const TColor face = skin->ButtonFaceColour;

    EXPECT_FALSE(Get<TStatusBar>("StatusBar1")->SizeGrip());
    EXPECT_TRUE(Get<TToolBar>("ToolBar1")->Flat());
    EXPECT_TRUE(Get<TToolBar>("ToolBar2")->Flat());
    EXPECT_TRUE(Get<TSwitches>("DBNavigator1")->Flat);
    EXPECT_EQ(Get<TCustomGrid>("Grid1")->FixedColor(), face);
    EXPECT_EQ(Get<TCustomGrid>("Grid1")->Color(), form.colours["Grid1"]);
    EXPECT_EQ(form.inner->Color(), face);

    auto* group = Get<TRadioGroup>("RadioGroup1");
    ASSERT_EQ(group->ControlCount(), 2);
    for (int i = 0; i < group->ControlCount(); ++i) {
        TControl* button = group->Controls(i);
        EXPECT_FALSE(button->ParentColor());
        EXPECT_EQ(button->Color(), face);
        const auto skins = SkinsOf(host, button);
        ASSERT_EQ(skins.size(), 1u);
        EXPECT_EQ(skins.front()->ClassName(), "TSkinRadioButton");
    }

    // The scroll-bar rows differ in whether the skin drags the thumb itself.
    for (const char* name : {"Memo1", "ListBox1", "Grid1", "RichEdit1", "WwRichEdit1", "DxMemo1", "Tag96", "Tag55"}) {
        auto* bars = dynamic_cast<TSkinScrollBar*>(SkinsOf(host, form[name]).front());
        ASSERT_NE(bars, nullptr) << name;
        EXPECT_TRUE(bars->TrackThumb) << name;
    }
    for (const char* name : {"DxTreeList1", "DxGrid1", "ListView1"}) {
        auto* bars = dynamic_cast<TSkinScrollBar*>(SkinsOf(host, form[name]).front());
        ASSERT_NE(bars, nullptr) << name;
        EXPECT_FALSE(bars->TrackThumb) << name;
    }
}

TEST_F(SkinWalkTest, ASecondWalkAddsNothing) {
    TControlWalk walk = Walk();
    walk.SkinChildControls(form.Form.get());
    const int skins = host.ComponentCount();
    const size_t listed = host.ControlSkins.size();
    walk.SkinChildControls(form.Form.get());
    // The edits' skins are not listed: the second skin finds the window taken
    // and goes again.
    EXPECT_EQ(host.ComponentCount(), skins);
    EXPECT_EQ(host.ControlSkins.size(), listed);
    for (const char* name : {"Button1", "SpeedButton1", "RadioGroup1", "StatusBar1", "PageControl1"})
        EXPECT_EQ(SkinsOf(host, form[name]).size(), 1u) << name;
}

TEST_F(SkinWalkTest, AControlWhoseWindowCannotBeMadeIsLeftAlone) {
    // No parent: its child window cannot be made.
    auto* orphan = new TButton(form.Form.get());  // owned by the form
    orphan->SetName("Orphan");
    EXPECT_NO_THROW(Walk().SkinChildControls(form.Form.get()));
    EXPECT_FALSE(orphan->HandleAllocated());
    form.controls["Orphan"] = orphan;
    EXPECT_TRUE(SkinsOf(host, orphan).empty());
    EXPECT_EQ(Outcome(form, host, "Button1"), Listed("TSkinButton"));
}

// On a print preview the controls not yet made count as served once the
// frame holds a skin of a window.
struct TPreviewCase {
    const char* FormName;
    bool HoldsWindowSkin;
    bool Skinned;
};

class SkinWalkPreviewTest : public ::testing::TestWithParam<TPreviewCase> {};

TEST_P(SkinWalkPreviewTest, ControlsNotYetMadeOnAPreviewCountAsServed) {
    const TPreviewCase& c = GetParam();
    auto skin = LoadTestSkin();
    std::unique_ptr<TForm, ComponentFree> form(new TForm(nullptr));
    form->SetName(c.FormName);
    form->SetBounds(0, 0, 300, 200);
    form->Show();
    TTestHost host;
    TControlWalk walk(host, *skin);
    walk.FormName = c.FormName;
    if (c.HoldsWindowSkin) {
        auto* first = new TButton(form.get());  // owned by the form
        first->SetParent(form.get());
        walk.SkinChildControls(form.get());
        ASSERT_EQ(host.ControlSkins.size(), 1u);
    }
    auto* late = new TButton(form.get());  // owned by the form
    late->SetParent(form.get());
    late->SetBounds(10, 60, 80, 25);
    late->DestroyHandle();  // as a preview's controls before they are shown
    ASSERT_FALSE(late->HandleAllocated());
    EXPECT_EQ(walk.IsControlSkinned(late), !c.Skinned);
    walk.SkinChildControls(form.get());
    EXPECT_EQ(late->HandleAllocated(), c.Skinned);
    EXPECT_EQ(SkinsOf(host, late).size(), c.Skinned ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Forms, SkinWalkPreviewTest,
                         ::testing::Values(TPreviewCase{"PrintPreview", true, false},
                                           TPreviewCase{"MyPREVIEWForm", true, false},
                                           TPreviewCase{"TppPrintPreview", true, false},
                                           TPreviewCase{"PrintPreview", false, true},
                                           TPreviewCase{"MainForm", true, true}),
                         [](const ::testing::TestParamInfo<TPreviewCase>& info) {
                             return std::string(info.param.FormName) +
                                    (info.param.HoldsWindowSkin ? "_Holding" : "_Empty");
                         });

// A Skin3rd line makes a foreign class one of the known kinds.
struct TThirdPartyCase {
    std::string Line;           // empty for none
    const char* ContainerSkin;  // on the foreign container; empty for none
    const char* ChildSkin;      // on each of its two child buttons
    const char* EditSkin;       // on the foreign edit
    TSkinControlTypes Controls = DefaultSkinControls;
};

std::ostream& operator<<(std::ostream& os, const TThirdPartyCase& c) { return os << c.Line; }

const TThirdPartyCase kThirdPartyCases[] = {
    {"", "", "", "TSkinEdit"},  // no line: the edit row
    {"TFancy=combobox", "TSkinComBox", "", "TSkinComBox"},
    {"tfancy=EDIT", "TSkinEdit", "", "TSkinEdit"},
    {"TFancy=RadioButton", "TSkinRadioButton", "", "TSkinRadioButton"},
    {"TFancy=panel", "TSkinBox", "", "TSkinBox"},
    {"TFancy=trackbar", "TSkinBox", "", "TSkinBox"},
    {"TFancy=progress", "TSkinProgress", "", "TSkinProgress"},
    {"TFancy=radiogroup", "TSkinBox", "TSkinRadioButton", "TSkinBox"},
    {"TFancy=checkgroup", "TSkinBox", "TSkinCheckBox", "TSkinBox"},
    {"TFancy=radiogroup", "TSkinBox", "", "TSkinBox", Without(xcRadioButton)},
    {"TFancy=checkbox", "TSkinCheckBox", "", "TSkinCheckBox"},
    // Handled, so not walked further: no skin at all.
    {"TFancy=listbox", "", "", ""},
    {"TFancy=checkbox", "", "", "", Without(xcCheckBox)},
    // A kind longer than 50 characters is cut to 50, and is none then.
    {"TFancy=edit" + std::string(46, ' ') + "and more", "", "", ""},
};

class SkinWalkThirdPartyTest : public ::testing::TestWithParam<TThirdPartyCase> {};

TEST_P(SkinWalkThirdPartyTest, TheLineGivesTheKind) {
    const TThirdPartyCase& c = GetParam();
    auto skin = LoadTestSkin();
    skin->SkinControls = c.Controls;
    skin->Skin3rd()->Clear();
    skin->Skin3rd()->Add("TOther=combobox");
    if (!c.Line.empty()) {
        skin->Skin3rd()->Add(c.Line);
        skin->Skin3rd()->Add(c.Line.substr(0, 6) + "=combobox");  // only the first line counts
    }
    RegisterTestClasses();
    std::unique_ptr<TForm, ComponentFree> form(new TForm(nullptr));
    form->SetBounds(0, 0, 400, 300);
    form->Show();
    // The container is of no known kind; the edit would otherwise take the edit row.
    auto* container = new TSwitches(form.get(), "TFancy");  // owned by the form
    container->SetParent(form.get());
    container->SetBounds(10, 10, 200, 100);
    std::vector<TButton*> children;
    for (int i = 0; i < 2; ++i) {
        auto* child = new TButton(form.get());  // owned by the form
        child->SetParent(container);
        child->SetBounds(10, 10 + 40 * i, 80, 25);
        child->SetParentColor(true);
        child->Tag = 99;  // the walk leaves it to the container's row
        children.push_back(child);
    }
    auto* edit = new TNamed<TEdit>(form.get(), "TFancy");  // owned by the form
    edit->SetParent(form.get());
    edit->SetBounds(220, 10, 100, 22);
    TTestHost host;
    TControlWalk walk(host, *skin);
    walk.SkinChildControls(form.get());

    auto skinName = [&](TControl* control) {
        const auto skins = SkinsOf(host, control);
        EXPECT_LE(skins.size(), 1u);
        return skins.empty() ? std::string() : skins.front()->ClassName();
    };
    EXPECT_EQ(skinName(container), c.ContainerSkin);
    EXPECT_EQ(skinName(edit), c.EditSkin);
    for (TButton* child : children) {
        EXPECT_EQ(skinName(child), c.ChildSkin);
        EXPECT_EQ(child->ParentColor(), *c.ChildSkin == 0);
    }
    EXPECT_EQ(container->Transparent, c.Line == "TFancy=panel" || c.Line == "TFancy=trackbar");
}

INSTANTIATE_TEST_SUITE_P(Kinds, SkinWalkThirdPartyTest, ::testing::ValuesIn(kThirdPartyCases));

TEST_F(SkinWalkTest, TheApplicationMaySupplyTheSkin) {
    struct TCall {
        TComponent* Sender;
        TSkinData* Data;
        TControl* Form;
        TControl* Control;
        std::string ControlClass;
    };
    std::vector<TCall> calls;
    TSkinControl* supplied = nullptr;
    skin->OnSkinControl = [&](TComponent* sender, TSkinData* data, TControl* parent, TControl* control,
                              const std::string& controlClass, TComponent*& skinned) {
        calls.push_back({sender, data, parent, control, controlClass});
        if (control == form["Button1"]) skinned = supplied = new TSkinCheckBox(nullptr);  // the frame takes it
        if (control == form["Edit1"]) skinned = new TTimer(form.Form.get());  // no skin: the table decides
    };
    Walk().SkinChildControls(form.Form.get());

    // Once per control (the popup menu and the timer are none), with the
    // class name in upper case; the form is the owner walked.
    std::map<TControl*, const TCall*> byControl;
    for (const TCall& call : calls) byControl[call.Control] = &call;
    for (const auto& [name, control] : form.controls) {
        const bool walkedHere = control->Owner() == form.Form.get();
        const bool reached = byControl.count(control) != 0;
        if (walkedHere) {
            EXPECT_EQ(reached, control->Tag % 100 != 99) << name;
        }
        if (!reached) continue;
        const TCall& call = *byControl[control];
        EXPECT_EQ(call.Sender, &host) << name;
        EXPECT_EQ(call.Data, skin.get()) << name;
        EXPECT_EQ(call.ControlClass, UpperCase(control->ClassName())) << name;
        if (walkedHere) {
            EXPECT_EQ(call.Form, form.Form.get()) << name;
        }
    }
    EXPECT_EQ(byControl.at(form["FrameButton"])->Form, form["Frame1"]);
    for (const TCall& call : calls) EXPECT_NE(call.Control, nullptr);

    // Attached by handle, not listed, owned by the frame.
    ASSERT_NE(supplied, nullptr);
    EXPECT_EQ(supplied->Owner(), &host);
    EXPECT_EQ(supplied->Handle, Get<TButton>("Button1")->Handle());
    EXPECT_EQ(std::count(host.ControlSkins.begin(), host.ControlSkins.end(), supplied), 0);
    EXPECT_EQ(Outcome(form, host, "Edit1"), Unlisted("TSkinEdit"));
}

TEST_F(SkinWalkTest, ASkinTheApplicationSuppliedGoesWithTheFrame) {
    HWND button = Get<TButton>("Button1")->Handle();
    WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_WNDPROC));
    auto frame = std::make_unique<TTestHost>();
    skin->OnSkinControl = [&](TComponent*, TSkinData*, TControl*, TControl* control, const std::string&,
                              TComponent*& skinned) {
        if (control == form["Button1"]) skinned = new TSkinButton(form.Form.get());  // the frame takes it
    };
    TControlWalk walk(*frame, *skin);
    walk.SkinChildControls(form.Form.get());
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_WNDPROC)), own);
    frame.reset();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_WNDPROC)), own);
}

// ----------------------------------------------------------- raw windows

TEST(SkinWalkRawSkin, ButtonsGoByTheirType) {
    const TRawSkin byType[16] = {
        TRawSkin::Button,      TRawSkin::Button,   TRawSkin::CheckBox,    TRawSkin::CheckBox,
        TRawSkin::RadioButton, TRawSkin::CheckBox, TRawSkin::CheckBox,    TRawSkin::None,
        TRawSkin::Button,      TRawSkin::RadioButton, TRawSkin::None,     TRawSkin::None,
        TRawSkin::None,        TRawSkin::None,     TRawSkin::None,        TRawSkin::None,
    };
    for (DWORD type = 0; type < 16; ++type) {
        EXPECT_EQ(RawSkinFor("button", type), byType[type]) << type;
        // The other style bits do not count.
        EXPECT_EQ(RawSkinFor("button", type | BS_PUSHLIKE | BS_FLAT | WS_TABSTOP), byType[type]) << type;
    }
    EXPECT_EQ(RawSkinFor("combobox", CBS_SIMPLE), TRawSkin::None);
    EXPECT_EQ(RawSkinFor("combobox", CBS_DROPDOWN), TRawSkin::ComboBox);
    EXPECT_EQ(RawSkinFor("combobox", CBS_DROPDOWNLIST), TRawSkin::ComboBox);
    EXPECT_EQ(RawSkinFor("systabcontrol32", 0), TRawSkin::Tab);
    EXPECT_EQ(RawSkinFor("systabcontrol32", TCS_OWNERDRAWFIXED), TRawSkin::None);
    EXPECT_EQ(RawSkinFor("static", 0), TRawSkin::None);
    EXPECT_EQ(RawSkinFor("Edit", 0), TRawSkin::None) << "the class name comes in lower case";
}

// A dialog template in memory, its items named by class.
class TDialogTemplate {
public:
    explicit TDialogTemplate(const char* title) {
        Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME);
        Dword(0);
        count_ = words_.size();
        words_.push_back(0);
        for (short v : {10, 10, 400, 260}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        Text(title);
        words_.push_back(8);
        Text("MS Sans Serif");
    }
    void Item(const char* cls, DWORD style, short x, short y, short cx, short cy, WORD id, const char* text = "") {
        if (words_.size() % 2 != 0) words_.push_back(0);  // DWORD-aligned
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(id);
        Text(cls);
        Text(text);
        words_.push_back(0);  // no creation data
        ++words_[count_];
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Dword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void Text(const char* text) {
        for (const char* p = text; *p != 0; ++p) words_.push_back(static_cast<WORD>(static_cast<unsigned char>(*p)));
        words_.push_back(0);
    }
    std::vector<WORD> words_;
    size_t count_ = 0;
};

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct TRawChild {
    WORD Id;
    const char* Skin;  // empty for none
    bool OnInner = false;  // the skin is on the window's first child
};

TEST(SkinWalkRawWindows, EveryChildOfADialogGetsTheSkinOfItsClassAndStyle) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    TDialogTemplate dialog("Raw children");
    std::vector<TRawChild> expected;
    const char* const buttonSkins[16] = {"TSkinButton", "TSkinButton", "TSkinCheckBox", "TSkinCheckBox",
                                         "TSkinRadioButton", "TSkinCheckBox", "TSkinCheckBox", "",
                                         "TSkinButton", "TSkinRadioButton", "", "",
                                         "", "", "", ""};
    for (WORD type = 0; type < 16; ++type) {
        dialog.Item("Button", type, static_cast<short>(5 + type % 4 * 95), static_cast<short>(5 + type / 4 * 18), 90,
                    14, static_cast<WORD>(100 + type), "Button");
        expected.push_back({static_cast<WORD>(100 + type), buttonSkins[type]});
    }
    dialog.Item("ComboBox", CBS_SIMPLE, 5, 80, 90, 40, 200);
    dialog.Item("ComboBox", CBS_DROPDOWN, 100, 80, 90, 60, 201);
    dialog.Item("ComboBox", CBS_DROPDOWNLIST, 195, 80, 90, 60, 202);
    dialog.Item("ComboBoxEx32", CBS_DROPDOWN, 290, 80, 90, 60, 203);
    dialog.Item("Edit", ES_AUTOHSCROLL | WS_BORDER, 5, 125, 90, 14, 204, "Text");
    dialog.Item("ScrollBar", SBS_SIZEGRIP, 380, 240, 12, 12, 205);
    dialog.Item("SysTabControl32", 0, 5, 145, 180, 60, 206);
    dialog.Item("SysTabControl32", TCS_OWNERDRAWFIXED, 195, 145, 180, 60, 207);
    dialog.Item("Static", 0, 5, 215, 90, 14, 208, "Static");
    expected.insert(expected.end(), {{200, ""}, {201, "TSkinComBox"}, {202, "TSkinComBox"},
                                     {203, "TSkinComBox", true}, {204, "TSkinEdit"}, {205, "TSkinSizer"},
                                     {206, "TSkinTab"}, {207, ""}, {208, ""}});

    HWND window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr, QuietDialogProc, 0);
    ASSERT_NE(window, nullptr) << GetLastError();
    ShowWindow(window, SW_SHOW);
    PumpMessages();
    auto skin = LoadTestSkin();
    auto host = std::make_unique<TTestHost>();
    TControlWalk walk(*host, *skin);
    walk.Window = window;
    walk.SkinChildWindows();

    for (const TRawChild& child : expected) {
        HWND item = GetDlgItem(window, child.Id);
        ASSERT_NE(item, nullptr) << child.Id;
        HWND skinned = child.OnInner ? GetWindow(item, GW_CHILD) : item;
        ASSERT_NE(skinned, nullptr) << child.Id;
        std::string found;
        for (TSkinControl* s : host->ControlSkins)
            if (s->Handle == skinned) found += s->ClassName();
        EXPECT_EQ(found, child.Skin) << "control " << child.Id;
        if (child.OnInner) {
            for (TSkinControl* s : host->ControlSkins) EXPECT_NE(s->Handle, item);
        }
    }
    const size_t listed = host->ControlSkins.size();
    EXPECT_EQ(static_cast<int>(listed), host->ComponentCount());
    walk.SkinChildWindows();
    EXPECT_EQ(host->ControlSkins.size(), listed) << "a second walk skinned a window twice";

    host.reset();
    DestroyWindow(window);
    PumpMessages();
}

// ----------------------------------------------------------- popup menus

class SkinWalkMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr));
        menu = MakeMenu("Menu1");
        other = MakeMenu("Menu2");
        other->Tag = 199;  // DisableTag: left alone
        own = menu->Items()->Items(0);
        own->OnDrawItem = [this](TObject*, TCanvas*, const RECT&, bool) { ++ownDraws; };
        own->OnMeasureItem = [this](TObject*, TCanvas*, int&, int&) { ++ownMeasures; };
        platform = menu->Items()->Items(1);
        platform->Tag = 999;
        plain = menu->Items()->Items(2);
        nested = plain->Items(0);
    }

    TPopupMenu* MakeMenu(const std::string& name) {
        auto* m = new TPopupMenu(form.get());  // owned by the form
        m->SetName(name);
        for (const char* caption : {"Own", "Platform", "Plain", "-"}) {
            auto* item = new TMenuItem(m);  // owned by the menu
            item->SetCaption(caption);
            m->Items()->Add(item);
        }
        auto* sub = new TMenuItem(m);  // owned by the menu
        sub->SetCaption("Nested");
        m->Items()->Items(2)->Add(sub);
        return m;
    }

    TControlWalk Walk(TTestHost& frame) {
        TControlWalk walk(frame, *skin);
        walk.DrawItem = [this](TObject* sender, TCanvas*, const RECT&, bool) { drawnFor.push_back(sender); };
        walk.MeasureItem = [this](TObject* sender, TCanvas*, int&, int&) { measuredFor.push_back(sender); };
        return walk;
    }

    static bool FramesDraw(TMenuItem* item, const TTestHost& frame) {
        const auto* draw = item->OnDrawItem.target<TFrameDrawItem>();
        const auto* measure = item->OnMeasureItem.target<TFrameMeasureItem>();
        return draw != nullptr && draw->Frame == &frame && measure != nullptr && measure->Frame == &frame;
    }
    static UINT EntryType(TMenuItem* item) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(item->Parent()->Handle(), item->Command(), FALSE, &info);
        return info.fType;
    }

    std::unique_ptr<TSkinData, ComponentFree> skin = LoadTestSkin();
    std::unique_ptr<TForm, ComponentFree> form;
    TPopupMenu* menu = nullptr;
    TPopupMenu* other = nullptr;
    TMenuItem* own = nullptr;
    TMenuItem* platform = nullptr;
    TMenuItem* plain = nullptr;
    TMenuItem* nested = nullptr;
    int ownDraws = 0, ownMeasures = 0;
    std::vector<TObject*> drawnFor, measuredFor;
};

TEST_F(SkinWalkMenuTest, SwitchingOnHandsTheItemsToTheFrame) {
    TTestHost frame;
    TControlWalk walk = Walk(frame);
    walk.SetPopupMenusOwnerDraw(form.get(), true);

    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_FALSE(other->OwnerDraw());
    for (TMenuItem* item : {plain, nested, menu->Items()->Items(3)}) {
        EXPECT_TRUE(FramesDraw(item, frame)) << item->Caption();
        EXPECT_NE(EntryType(item) & MFT_OWNERDRAW, 0u) << item->Caption();
    }
    EXPECT_FALSE(other->Items()->Items(2)->OnDrawItem);
    EXPECT_EQ(EntryType(other->Items()->Items(2)) & MFT_OWNERDRAW, 0u);
    // An item drawing itself keeps both its handlers.
    EXPECT_FALSE(FramesDraw(own, frame));
    int width = 0, height = 0;
    own->OnDrawItem(own, nullptr, RECT{}, false);
    own->OnMeasureItem(own, nullptr, width, height);
    EXPECT_EQ(ownDraws, 1);
    EXPECT_EQ(ownMeasures, 1);
    // Tag 999 keeps the system's drawing.
    EXPECT_FALSE(platform->OnDrawItem);

    // The frame's handlers reach the frame's drawing.
    nested->OnDrawItem(nested, nullptr, RECT{}, true);
    nested->OnMeasureItem(nested, nullptr, width, height);
    EXPECT_EQ(drawnFor, std::vector<TObject*>{nested});
    EXPECT_EQ(measuredFor, std::vector<TObject*>{nested});

    // Switched on again after a skin change: nothing doubles.
    walk.SetPopupMenusOwnerDraw(form.get(), true);
    EXPECT_TRUE(FramesDraw(plain, frame));
}

TEST_F(SkinWalkMenuTest, ATag999ItemLosesItsOwnDrawHandler) {
    platform->OnDrawItem = [this](TObject*, TCanvas*, const RECT&, bool) { ++ownDraws; };
    platform->OnMeasureItem = [this](TObject*, TCanvas*, int&, int&) { ++ownMeasures; };
    TTestHost frame;
    Walk(frame).SetPopupMenusOwnerDraw(form.get(), true);
    EXPECT_FALSE(platform->OnDrawItem);
    EXPECT_TRUE(platform->OnMeasureItem);
}

TEST_F(SkinWalkMenuTest, SwitchingOffTakesAwayOnlyWhatTheFrameSet) {
    auto frame = std::make_unique<TTestHost>();
    Walk(*frame).SetPopupMenusOwnerDraw(form.get(), true);
    // Handlers the application gives an item while skinned are its own.
    auto appMeasure = [this](TObject*, TCanvas*, int&, int&) { ++ownMeasures; };
    nested->OnMeasureItem = appMeasure;
    // Another frame's handlers on an item are that frame's business.
    TTestHost second;
    Walk(second).SkinMenuItem(other->Items()->Items(0), true);

    Walk(*frame).SetPopupMenusOwnerDraw(form.get(), false);
    frame.reset();

    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_EQ(EntryType(plain) & MFT_OWNERDRAW, 0u);
    for (TMenuItem* item : {plain, menu->Items()->Items(3)}) {
        EXPECT_FALSE(item->OnDrawItem) << item->Caption();
        EXPECT_FALSE(item->OnMeasureItem) << item->Caption();
    }
    EXPECT_FALSE(nested->OnDrawItem);
    ASSERT_TRUE(nested->OnMeasureItem);
    int w = 0;
    nested->OnMeasureItem(nested, nullptr, w, w);
    EXPECT_EQ(ownMeasures, 1);
    ASSERT_TRUE(own->OnDrawItem);
    own->OnDrawItem(own, nullptr, RECT{}, false);
    EXPECT_EQ(ownDraws, 1);
    EXPECT_TRUE(own->OnMeasureItem);
    EXPECT_TRUE(FramesDraw(other->Items()->Items(0), second));
}

TEST_F(SkinWalkMenuTest, WithoutThePopupFamilyMenusStayTheSystems) {
    skin->SkinControls = Without(xcPopupMenu);
    TTestHost frame;
    Walk(frame).SetPopupMenusOwnerDraw(form.get(), true);
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_FALSE(plain->OnDrawItem);
    EXPECT_FALSE(nested->OnMeasureItem);
}

}  // namespace
}  // namespace pellix::test
