// Form descriptions become components; every mistake in one is an error that
// names the description and the line.
#include <gtest/gtest.h>

#include <memory>

#include "app/ThumbnailsMain.h"
#include "framework/Classes.h"
#include "framework/FormLoader.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

class TProbeBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::string ClassName() const override { return "TProbeBox"; }
    int Depth = 0;
    TComponent* Buddy = nullptr;
    std::vector<uint8_t> Data;
    int loadedCalls = 0;
    void Loaded() override {
        TCustomControl::Loaded();
        ++loadedCalls;
    }
};

class TProbeItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string ClassName() const override { return "TProbeItem"; }
    std::string Label;
    int Weight = 0;
};

// A collection of items and two binary properties kept beside the published ones.
class TProbeStore : public TComponent {
public:
    explicit TProbeStore(TComponent* owner) : TComponent(owner), Items(this, ItemClass<TProbeItem>()) {}
    std::string ClassName() const override { return "TProbeStore"; }
    TOwnedCollection Items;
    std::vector<uint8_t> Plain, Counted;

    void DeclareStoredProperties(TStoredProperties& properties) override {
        properties.DefineBinaryProperty("Plain", [this](TStream& s) { Plain = ReadRest(s); }, {});
        properties.DefineBinaryProperty("Counted", [this](TStream& s) { Counted = ReadRest(s); }, {},
                                        TBinaryLayout::CountPrefixed);
    }
};

class TLoaderForm : public TForm {
public:
    explicit TLoaderForm(TComponent* owner) : TForm(owner) {
        RegisterClassInfo("TLoaderForm", "TForm");
        RegisterClassInfo("TProbeBox", "TCustomControl", Factory<TProbeBox>())
            .Property("Depth", Prop<TProbeBox>([](TProbeBox& b, const FormValue& v, LoadContext& x) { b.Depth = x.Int(v); }))
            .Property("Data", Prop<TProbeBox>([](TProbeBox& b, const FormValue& v, LoadContext& x) { b.Data = x.Binary(v); }))
            .Property("Buddy", Prop<TProbeBox>([](TProbeBox& b, const FormValue& v, LoadContext& x) {
                x.Reference(v, [&b](TComponent* c) { b.Buddy = c; });
            }));
        RegisterClassInfo("TProbeItem", "TCollectionItem")
            .Property("Label", Prop<TProbeItem>([](TProbeItem& i, const FormValue& v, LoadContext& x) { i.Label = x.String(v); }))
            .Property("Weight", Prop<TProbeItem>([](TProbeItem& i, const FormValue& v, LoadContext& x) { i.Weight = x.Int(v); }));
        RegisterClassInfo("TProbeStore", "TComponent", Factory<TProbeStore>())
            .Property("Items", Prop<TProbeStore>([](TProbeStore& s, const FormValue& v, LoadContext& x) {
                x.ReadCollection(v, s.Items);
            }));
        AddHandler("BoxClick", TNotifyEvent([this](TObject* s) { clicked = s; }));
        AddHandler("FormCreate", TNotifyEvent([this](TObject*) { created = true; }));
        AddHandler("FormClose", TCloseEvent([](TObject*, TCloseAction&) {}));
    }
    std::string ClassName() const override { return "TLoaderForm"; }
    TObject* clicked = nullptr;
    bool created = false;
};

std::unique_ptr<TLoaderForm, ComponentFree> Load(const std::string& text) {
    std::unique_ptr<TLoaderForm, ComponentFree> form(new TLoaderForm(nullptr));
    LoadFormText(*form, text, "Loader.dfm");
    return form;
}

TEST(FormLoader, BuildsComponentsWithPropertiesParentsEventsAndReferences) {
    auto form = Load(
        "object LoaderForm: TLoaderForm\n"
        "  Left = 20\n"
        "  Top = 30\n"
        "  Width = 400\n"
        "  Height = 300\n"
        "  Caption = 'Probe'\n"
        "  Color = clWhite\n"
        "  Font.Name = 'Arial'\n"
        "  Font.Height = -13\n"
        "  Font.Style = [fsBold]\n"
        "  OnCreate = FormCreate\n"
        "  OnClose = FormClose\n"
        "  object Outer: TProbeBox\n"
        "    Left = 4\n"
        "    Width = 100\n"
        "    Height = 50\n"
        "    Depth = 1\n"
        "    Buddy = Inner\n"
        "    OnClick = BoxClick\n"
        "    object Inner: TProbeBox\n"
        "      Depth = 2\n"
        "      Data = {DEADBEEF}\n"
        "      Buddy = LoaderForm\n"
        "    end\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(form->Name(), "LoaderForm");
    EXPECT_EQ(form->Caption(), "Probe");
    EXPECT_EQ(form->Left(), 20);
    EXPECT_EQ(form->Width(), 400);
    EXPECT_EQ(form->Color(), clWhite);
    EXPECT_EQ(form->Font()->Name(), "Arial");
    EXPECT_EQ(form->Font()->Height(), -13);
    EXPECT_EQ(form->Font()->Style(), fsBold);
    EXPECT_TRUE(form->OnClose);

    auto* outer = dynamic_cast<TProbeBox*>(form->FindComponent("Outer"));
    auto* inner = dynamic_cast<TProbeBox*>(form->FindComponent("Inner"));
    ASSERT_NE(outer, nullptr);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(outer->Owner(), form.get());
    EXPECT_EQ(inner->Owner(), form.get());
    EXPECT_EQ(outer->Parent(), form.get());
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(outer->Depth, 1);
    EXPECT_EQ(outer->Buddy, inner);
    EXPECT_EQ(inner->Buddy, form.get());
    EXPECT_EQ(inner->Data, (std::vector<uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));
    // Children follow their parent's font unless they set their own.
    EXPECT_EQ(inner->Font()->Name(), "Arial");
    EXPECT_EQ(outer->loadedCalls, 1);
    EXPECT_FALSE(outer->Loading());
    EXPECT_FALSE(form->created) << "OnCreate runs after loading, not during it";

    ASSERT_TRUE(outer->OnClick);
    outer->OnClick(outer);
    EXPECT_EQ(form->clicked, outer);
}

struct BadForm {
    const char* name;
    const char* body;   // lines 2.. of the description
    int line;
    const char* fragment;
};

// Short names in test listings.
void PrintTo(const BadForm& c, std::ostream* os) { *os << c.name; }

class FormLoaderErrors : public ::testing::TestWithParam<BadForm> {};

TEST_P(FormLoaderErrors, NameTheDescriptionAndLine) {
    const BadForm& c = GetParam();
    std::string text = std::string("object LoaderForm: TLoaderForm\n") + c.body + "end\n";
    try {
        Load(text);
        FAIL() << "no error";
    } catch (const EFormLoadError& e) {
        std::string msg = e.what();
        EXPECT_EQ(msg.rfind("Loader.dfm(" + std::to_string(c.line) + "): ", 0), 0u) << msg;
        EXPECT_NE(msg.find(c.fragment), std::string::npos) << msg;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormLoaderErrors,
    ::testing::Values(
        BadForm{"UnknownClass", "  Left = 1\n  object X: TNoSuchThing\n  end\n", 3, "unknown class 'TNoSuchThing'"},
        BadForm{"UnknownProperty", "  Left = 1\n\n  Colour = clRed\n", 4, "unknown property 'Colour'"},
        BadForm{"UnknownNestedProperty", "  Font.Weight = 3\n", 2, "unknown property 'Font.Weight'"},
        BadForm{"UnknownHandler", "  object B: TProbeBox\n    OnClick = NoSuchClick\n  end\n", 3,
                "unknown handler 'NoSuchClick'"},
        BadForm{"HandlerOfWrongType", "  OnCreate = FormClose\n", 2, "does not fit"},
        BadForm{"WrongValueKind", "  Left = 'ten'\n", 2, "expected an integer"},
        BadForm{"UnknownEnumValue", "  Position = poNowhere\n", 2, "'poNowhere'"},
        BadForm{"UnknownSetElement", "  Font.Style = [fsBold, fsShadow]\n", 2, "'fsShadow'"},
        BadForm{"MissingReference", "  object B: TProbeBox\n    Buddy = Nobody\n  end\n", 3, "no component named 'Nobody'"},
        BadForm{"DuplicateName", "  object B: TProbeBox\n  end\n  object B: TProbeBox\n  end\n", 4, "already exists"},
        BadForm{"MissingEmbeddedFile", "  object B: TProbeBox\n    Data = @'nothing.bin'\n  end\n", 3, "no embedded file"},
        BadForm{"UnknownItemProperty",
                "  object S: TProbeStore\n    Items = <\n      item\n        Label = 'a'\n        Colour = 1\n      end>\n  end\n",
                6, "unknown property 'Colour' of TProbeItem"},
        BadForm{"CollectionOfWrongKind", "  object S: TProbeStore\n    Items = 'a'\n  end\n", 3, "expected a collection"},
        BadForm{"SyntaxError", "  Left = \n  ]\n", 3, "expected a value"}),
    [](const ::testing::TestParamInfo<BadForm>& info) { return std::string(info.param.name); });

TEST(FormLoader, CollectionItemsAreMadeInOrderWithTheirProperties) {
    auto form = Load(
        "object LoaderForm: TLoaderForm\n"
        "  object S: TProbeStore\n"
        "    Items = <\n"
        "      item\n"
        "        Label = 'first'\n"
        "        Weight = 3\n"
        "      end\n"
        "      item\n"
        "        Label = 'second'\n"
        "      end>\n"
        "  end\n"
        "end\n");
    auto* store = dynamic_cast<TProbeStore*>(form->FindComponent("S"));
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(store->Items.Count(), 2);
    const auto* first = dynamic_cast<TProbeItem*>(store->Items.Items(0));
    const auto* second = dynamic_cast<TProbeItem*>(store->Items.Items(1));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->Label, "first");
    EXPECT_EQ(first->Weight, 3);
    EXPECT_EQ(second->Label, "second");
    EXPECT_EQ(second->Weight, 0);
    EXPECT_EQ(first->ID(), 0);
    EXPECT_EQ(second->ID(), 1);
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(store->Items.Owner(), store);
}

// Inline data is the property's data as it stands; a file beside the
// description holds the data after a count-prefixed property's count.
TEST(FormLoader, BinaryPropertiesReachTheirReadProcedure) {
    std::string_view file = ResourceBytes("PREVIEW_BMP");
    ASSERT_FALSE(file.empty());
    const std::vector<uint8_t> fileBytes(file.begin(), file.end());
    const uint32_t n = static_cast<uint32_t>(fileBytes.size());
    std::vector<uint8_t> counted = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                                    static_cast<uint8_t>(n >> 24)};
    counted.insert(counted.end(), fileBytes.begin(), fileBytes.end());

    auto inlineForm = Load(
        "object LoaderForm: TLoaderForm\n  object S: TProbeStore\n    Plain = {0102}\n    Counted = {03000000AABBCC}\n  end\nend\n");
    auto* store = dynamic_cast<TProbeStore*>(inlineForm->FindComponent("S"));
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->Plain, (std::vector<uint8_t>{0x01, 0x02}));
    EXPECT_EQ(store->Counted, (std::vector<uint8_t>{0x03, 0x00, 0x00, 0x00, 0xAA, 0xBB, 0xCC}));

    auto fileForm = Load(
        "object LoaderForm: TLoaderForm\n  object S: TProbeStore\n    Plain = @'Preview.bmp'\n    Counted = @'Preview.bmp'\n  end\nend\n");
    store = dynamic_cast<TProbeStore*>(fileForm->FindComponent("S"));
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->Plain, fileBytes);
    EXPECT_EQ(store->Counted, counted);
}

TEST(FormLoader, ClientSizeBeforeTheWindowExistsIsTheSizeItGets) {
    auto form = Load("object LoaderForm: TLoaderForm\n  BorderStyle = bsDialog\n  ClientWidth = 465\n  ClientHeight = 304\nend\n");
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_EQ(form->ClientWidth(), 465);
    form->HandleNeeded();
    RECT r;
    GetClientRect(form->Handle(), &r);
    EXPECT_EQ(r.right, 465);
    EXPECT_EQ(r.bottom, 304);
}

TEST(FormLoader, DescriptionOfAnotherClassIsRefused) {
    EXPECT_THROW(Load("object F: TForm\nend\n"), EFormLoadError);
}

TEST(FormLoader, MainWindowDescriptionLoadsFromTheProgram) {
    std::unique_ptr<TThumbnailsForm, ComponentFree> form(new TThumbnailsForm(nullptr));
    LoadFormDescription(*form);
    EXPECT_EQ(form->Name(), "ThumbnailsForm");
    EXPECT_EQ(form->Caption(), "Mirovo - Thumbnail Gallery Builder");
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(form->Font()->Height(), -11);
    EXPECT_EQ(form->Font()->Style(), 0);
    EXPECT_EQ(form->Width(), 743);
    EXPECT_EQ(form->Height(), 553);
    EXPECT_EQ(form->Position(), TPosition::poScreenCenter);

    char name[64];
    GetClassNameA(form->Handle(), name, sizeof(name));
    EXPECT_STREQ(name, "TThumbnailsForm");
}

}  // namespace
}  // namespace pellix
