#include "framework/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellix {
namespace {

std::vector<std::string> Lines(std::string_view text) {
    TStringList list;
    list.Add("old");
    list.SetText(text);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

TEST(StringListTest, SetTextSplitsAtEveryKindOfLineEnd) {
    using V = std::vector<std::string>;
    struct Case {
        std::string text;
        V lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {std::string("a\r\nb\0c\r\n", 8), {"a", "b"}},
        {std::string("\0a", 2), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Lines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(StringListTest, IndexOfIgnoresTheCaseOfAToZOnly) {
    TStringList list;
    list.Add("Skin.ini");
    list.Add("\xC3\x84.bmp");
    EXPECT_EQ(list.IndexOf("SKIN.INI"), 0);
    EXPECT_EQ(list.IndexOf("\xC3\x84.BMP"), 1);
    EXPECT_EQ(list.IndexOf("\xC3\xA4.bmp"), -1);
    EXPECT_EQ(list.IndexOf("skin"), -1);
}

}  // namespace
}  // namespace pellix
