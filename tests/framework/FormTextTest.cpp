#include "framework/FormText.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

TEST(FormText, ReadsNestedObjectsWithEveryValueKind) {
    const char* text =
        "object Main: TMainForm\n"
        "  Left = -12\n"
        "  Mask = $FF\n"
        "  Ratio = 1.5\n"
        "  Caption = 'It''s a'#13#10'test'\n"
        "  Long = 'first ' +\n"
        "    'second'\n"
        "  Color = clBtnFace\n"
        "  Font.Style = [fsBold, fsItalic]\n"
        "  Empty = []\n"
        "  Items.Strings = (\n"
        "    'one'\n"
        "    'two')\n"
        "  Data = {\n"
        "    0A0b FF\n"
        "    00}\n"
        "  Picture = @'placeholder.bmp'\n"
        "  Skins = <\n"
        "    item\n"
        "      Name = 'Blue'\n"
        "    end\n"
        "    item\n"
        "    end>\n"
        "  object Panel1: TPanel\n"
        "    object Label1: TLabel\n"
        "      OnClick = LabelClick\n"
        "    end\n"
        "  end\n"
        "end\n";
    FormObject form = ParseFormText(text, "main.dfm");
    EXPECT_EQ(form.name, "Main");
    EXPECT_EQ(form.className, "TMainForm");
    ASSERT_EQ(form.properties.size(), 12u);

    const auto& p = form.properties;
    EXPECT_EQ(p[0].value.integer, -12);
    EXPECT_EQ(p[1].value.integer, 255);
    EXPECT_EQ(p[2].value.kind, FormValue::Kind::Float);
    EXPECT_DOUBLE_EQ(p[2].value.number, 1.5);
    EXPECT_EQ(p[3].value.text, "It's a\r\ntest");
    EXPECT_EQ(p[4].value.text, "first second");
    EXPECT_EQ(p[5].value.kind, FormValue::Kind::Identifier);
    EXPECT_EQ(p[5].value.text, "clBtnFace");
    EXPECT_EQ(p[6].name, "Font.Style");
    ASSERT_EQ(p[6].value.items.size(), 2u);
    EXPECT_EQ(p[6].value.items[1].text, "fsItalic");
    EXPECT_TRUE(p[7].value.items.empty());
    ASSERT_EQ(p[8].value.items.size(), 2u);
    EXPECT_EQ(p[8].value.items[1].text, "two");
    EXPECT_EQ(p[9].value.bytes, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF, 0x00}));
    EXPECT_EQ(p[10].value.kind, FormValue::Kind::FileRef);
    EXPECT_EQ(p[10].value.text, "placeholder.bmp");
    ASSERT_EQ(p[11].value.collection.size(), 2u);
    EXPECT_EQ(p[11].value.collection[0].properties[0].value.text, "Blue");
    EXPECT_TRUE(p[11].value.collection[1].properties.empty());

    ASSERT_EQ(form.children.size(), 1u);
    const FormObject& label = form.children[0].children.at(0);
    EXPECT_EQ(label.className, "TLabel");
    EXPECT_EQ(label.line, 25);
    EXPECT_EQ(label.properties[0].line, 26);
}

TEST(FormText, NonAsciiCharacterCodesBecomeUtf8) {
    FormObject form = ParseFormText("object A: TA\n  S = 'caf'#233#20889\nend", "a");
    EXPECT_EQ(form.properties[0].value.text, "caf\xC3\xA9\xE5\x86\x99");
}

struct BadText {
    const char* text;
    int line;
    const char* fragment;
};

// Short names in test listings.
void PrintTo(const BadText& c, std::ostream* os) { *os << c.fragment; }

class FormTextErrors : public ::testing::TestWithParam<BadText> {};

TEST_P(FormTextErrors, NameTheSourceAndLine) {
    const BadText& c = GetParam();
    try {
        ParseFormText(c.text, "forms/x.dfm");
        FAIL() << "no error for: " << c.text;
    } catch (const FormTextError& e) {
        EXPECT_EQ(e.Line(), c.line);
        std::string expected = "forms/x.dfm(" + std::to_string(c.line) + "): ";
        EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
        EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormTextErrors,
    ::testing::Values(BadText{"", 1, "expected 'object'"},
                      BadText{"object A: TA\n  X = 1\n", 3, "missing 'end'"},
                      BadText{"object A: TA\n  X = 'open\nend", 2, "unterminated string"},
                      BadText{"object A: TA\n  X =\n  ]\nend", 3, "expected a value"},
                      BadText{"object A: TA\n\n  D = {0A1}\nend", 3, "odd number"},
                      BadText{"object A: TA\n  D = {0G}\nend", 2, "not hexadecimal"},
                      BadText{"object A: TA\n  S = [a b]\nend", 2, "expected ','"},
                      BadText{"object A: TA\n  N = 99999999999999999999\nend", 2, "out of range"},
                      BadText{"object A: TA\nend\nobject B: TB\nend", 3, "after the final"},
                      BadText{"object A: TA\n  X ? 1\nend", 2, "unexpected character"},
                      BadText{"object A: TA\n  C = <\n    thing\n  >\nend", 3, "expected 'item'"}));

TEST(FormText, DeepNestingIsRefusedNotOverflowed) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "object A: TA\n";
    for (int i = 0; i < 200; ++i) text += "end\n";
    EXPECT_THROW(ParseFormText(text, "deep"), FormTextError);
    std::string lists = "object A: TA\n  X = " + std::string(200, '(') + std::string(200, ')') + "\nend";
    EXPECT_THROW(ParseFormText(lists, "deep"), FormTextError);
}

}  // namespace
}  // namespace pellix
