#include "skin/SkinIni.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pellix {
namespace {

TEST(SkinIniTest, SectionsAndKeysCompareWithoutCase) {
    const TSkinIni ini("[Personality]\r\nLeft=left.bmp\r\n[BUTTONS]\r\nlEfTwIdTh=7\r\n");
    EXPECT_EQ(ini.ReadString("personality", "LEFT"), "left.bmp");
    EXPECT_EQ(ini.ReadString("PERSONALITY", "left"), "left.bmp");
    EXPECT_EQ(ini.ReadInteger("Buttons", "LeftWidth", -1), 7);
    // A key belongs to its own section only.
    EXPECT_EQ(ini.ReadString("Buttons", "Left"), "");
    EXPECT_EQ(ini.ReadString("Missing", "Left"), "");
    EXPECT_EQ(ini.ReadString("Personality", "Missing"), "");
}

TEST(SkinIniTest, ValuesAreTrimmedButKeepQuotesAndLaterEquals) {
    const TSkinIni ini(
        "  [ Colours ]  \n"
        "\tWindowText =  \t 1 2 3 \t\n"
        "Quoted=\"a b\"\n"
        "Single='x'\n"
        "Pair=a=b\n"
        "Empty=\n"
        "Blank=   \n");
    EXPECT_EQ(ini.ReadString("Colours", "WindowText"), "1 2 3");
    EXPECT_EQ(ini.ReadString("Colours", "Quoted"), "\"a b\"");
    EXPECT_EQ(ini.ReadString("Colours", "Single"), "'x'");
    EXPECT_EQ(ini.ReadString("Colours", "Pair"), "a=b");
    EXPECT_EQ(ini.ReadString("Colours", "Empty"), "");
    EXPECT_EQ(ini.ReadString("Colours", "Blank"), "");
}

TEST(SkinIniTest, EveryLineEndSplitsLines) {
    const TSkinIni ini("[A]\r\nOne=1\nTwo=2\rThree=3\r\n\r\n\n[B]\rFour=4");
    EXPECT_EQ(ini.ReadInteger("A", "One", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "Two", 0), 2);
    EXPECT_EQ(ini.ReadInteger("A", "Three", 0), 3);
    EXPECT_EQ(ini.ReadInteger("B", "Four", 0), 4);
}

TEST(SkinIniTest, SectionNamesComeInFileOrderAsSpelt) {
    const TSkinIni ini(
        "\xEF\xBB\xBF[Personality]\n"
        "[Button1]\n"
        "[buttonMin]\n"
        "[Buttons]\n"
        "[BUTTON.close]\n");
    EXPECT_EQ(ini.SectionNames(),
              (std::vector<std::string>{"Personality", "Button1", "buttonMin", "Buttons", "BUTTON.close"}));
}

TEST(SkinIniTest, RepeatedSectionContinuesTheFirstAndFirstKeyWins) {
    const TSkinIni ini(
        "[Buttons]\nTrans=1\nTrans=2\n"
        "[Other]\n"
        "[BUTTONS]\nTrans=3\nTile=4\n");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Buttons", "Other"}));
    EXPECT_EQ(ini.ReadInteger("Buttons", "Trans", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Buttons", "Tile", 0), 4);
}

TEST(SkinIniTest, LinesOutsideSectionsCommentsAndLinesWithoutEqualsAreNotKeys) {
    const TSkinIni ini(
        "Stray=1\n"
        "[A]\n"
        ";Comment=2\n"
        "NoEquals\n"
        "Key=3\n"
        "[Unclosed\n"
        "Inside=4\n"
        "[Closed] trailing text\n"
        "Inside=5\n");
    EXPECT_EQ(ini.ReadString("", "Stray"), "");
    EXPECT_EQ(ini.ReadString("A", ";Comment"), "");
    EXPECT_EQ(ini.ReadString("A", "NoEquals"), "");
    EXPECT_EQ(ini.ReadInteger("A", "Key", 0), 3);
    EXPECT_EQ(ini.ReadInteger("Unclosed", "Inside", 0), 4);
    EXPECT_EQ(ini.ReadInteger("Closed", "Inside", 0), 5);
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"A", "Unclosed", "Closed"}));
}

TEST(SkinIniTest, LongValuesAreCutAtTheLimit) {
    const std::string exact(TSkinIni::MaxValueLength, 'x');
    // A two-byte character straddling the limit is dropped whole.
    const std::string straddling = std::string(TSkinIni::MaxValueLength - 1, 'y') + "\xC3\xA9" + "tail";
    const TSkinIni ini("[S]\nExact=" + exact + "\nLong=" + exact + "zzz\nStraddling=" + straddling + "\n");
    EXPECT_EQ(ini.ReadString("S", "Exact"), exact);
    EXPECT_EQ(ini.ReadString("S", "Long"), exact);
    EXPECT_EQ(ini.ReadString("S", "Straddling"), std::string(TSkinIni::MaxValueLength - 1, 'y'));
}

TEST(SkinIniTest, IntegersFollowTheIntegerTextRules) {
    struct Case {
        const char* value;
        int32_t expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+7", 7},
        {"$1F", 31},
        {"$1f", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", -99},
        {"", -99},
        {"12abc", -99},
        {"1.5", -99},
        {"$", -99},
        {"0x", -99},
        {"$1G", -99},
        {"1 2", -99},
        {"abc", -99},
    };
    for (const Case& c : cases) {
        const TSkinIni ini(std::string("[S]\nKey=") + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "Key", -99), c.expected) << "value '" << c.value << "'";
    }
    EXPECT_EQ(TSkinIni("[S]\n").ReadInteger("S", "Key", 14), 14);
}

TEST(ColourTripleTest, ReadsRedGreenBlueFromAnyNumberText) {
    struct Case {
        const char* text;
        int32_t expected;
    };
    const int32_t rgb0_128_255 = 0 + 128 * 256 + 255 * 65536;
    const Case cases[] = {
        {"0 128 255", rgb0_128_255},
        {"0,128,255", rgb0_128_255},
        {"r0 g128 b255", rgb0_128_255},
        {"  0 128 255  ", rgb0_128_255},
        {"0;128;255;", rgb0_128_255},
        {"10 20", 10},
        {"10", 0},
        {"", 0},
        {"no digits", 0},
        {"1 2 3 4", 0x030201},
        {"1 2 3x9", 0x030201},
        // Only the low byte of each number counts; a sign is a separator.
        {"256 257 -1", 0x010100},
        {"300 0 0", 44},
        {"00000000000000000001 2 3", 0x030201},
        // A number beyond 32 bits absorbs the digits that follow and is never stored.
        {"99999999999 5 6", 0},
        {"1 99999999999 6", 1},
        {"1 2 99999999999", 0x000201},
        {"2147483647 0 0", 0xFF},
        {"2147483648 7 7", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadColourTriple(c.text), c.expected) << "text '" << c.text << "'";
}

TEST(ColourTripleTest, EmptyTextGivesTheDefault) {
    const int32_t btnFace = static_cast<int32_t>(0x8000000F);
    EXPECT_EQ(ColourTextOrDefault("", btnFace), btnFace);
    EXPECT_EQ(ColourTextOrDefault("   ", btnFace), btnFace);
    EXPECT_EQ(ColourTextOrDefault("1 2 3", btnFace), 0x030201);
    EXPECT_EQ(ColourTextOrDefault("none", btnFace), 0);
}

}  // namespace
}  // namespace pellix
