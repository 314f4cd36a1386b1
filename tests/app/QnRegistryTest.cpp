// The settings store component against the real registry: what it writes is
// read back with the plain API, what it reads is written with it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/QnRegistryComponent.h"
#include "framework/Classes.h"
#include "framework/Dialogs.h"
#include "framework/FormLoader.h"
#include "framework/Registry.h"

namespace pellix {
namespace {

const std::string kTestRoot = "Software\\PellixTests";
const std::string kBase = kTestRoot + "\\QnRegistry";

struct RawValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::string bytes;
};

bool KeyThere(const std::string& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    UniqueRegKey owned(h);
    return true;
}

RawValue ReadRaw(const std::string& key, const std::string& name) {
    RawValue v;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return v;
    UniqueRegKey owned(h);
    DWORD size = 0;
    if (RegQueryValueExA(h, name.c_str(), nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS) return v;
    v.bytes.resize(size);
    v.found = RegQueryValueExA(h, name.c_str(), nullptr, &v.type, reinterpret_cast<BYTE*>(v.bytes.data()), &size) ==
              ERROR_SUCCESS;
    return v;
}

void WriteRaw(const std::string& key, const std::string& name, DWORD type, const std::string& bytes) {
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    UniqueRegKey owned(h);
    ASSERT_EQ(RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

// Text as the system stores it: with its terminator.
std::string Sz(const std::string& text) { return text + '\0'; }

struct Box {
    std::string text;
    TMsgDlgType type;
};

class QnRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str());
        MessageBoxHook = [this](const std::string& text, TMsgDlgType type, TMsgDlgButtons) {
            boxes.push_back({text, type});
            return static_cast<int>(TModalResult::mrOk);
        };
    }
    void TearDown() override {
        MessageBoxHook = nullptr;
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot.c_str());  // only when no other test keeps keys there
    }

    // A key that can be neither opened nor created: non-volatile keys (all
    // the component makes) cannot live below a volatile one.
    std::string UnreachableKey() {
        HKEY h = nullptr;
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (kBase + "\\Volatile").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        UniqueRegKey owned(h);
        return kBase + "\\Volatile\\Child";
    }

    TQnRegistry reg{nullptr};
    std::vector<Box> boxes;
};

TEST_F(QnRegistryTest, LoadsFromAMissingKeyGiveTheDefaultAndCreateTheKey) {
    const std::string key = kBase + "\\New\\Deeper";
    EXPECT_EQ(reg.LoadStringFromRegistry(key, "Name", "fallback"), "fallback");
    ASSERT_TRUE(KeyThere(key));
    RegDeleteTreeA(HKEY_CURRENT_USER, (kBase + "\\New").c_str());
    EXPECT_EQ(reg.LoadIntegerFromRegistry(key, "Name", -17), -17);
    ASSERT_TRUE(KeyThere(key));
    RegDeleteTreeA(HKEY_CURRENT_USER, (kBase + "\\New").c_str());
    EXPECT_TRUE(reg.LoadBooleanFromRegistry(key, "Name", true));
    EXPECT_FALSE(reg.LoadBooleanFromRegistry(key, "Name", false));
    ASSERT_TRUE(KeyThere(key));
    RegDeleteTreeA(HKEY_CURRENT_USER, (kBase + "\\New").c_str());
    EXPECT_EQ(reg.LoadShortFromRegistry(key, "Name", "short"), "short");
    EXPECT_TRUE(KeyThere(key));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(QnRegistryTest, EmptyTextCountsAsMissing) {
    WriteRaw(kBase, "Empty", REG_SZ, Sz(""));
    EXPECT_EQ(reg.LoadStringFromRegistry(kBase, "Empty", "fallback"), "fallback");
    EXPECT_EQ(reg.LoadIntegerFromRegistry(kBase, "Empty", 42), 42);
    EXPECT_TRUE(reg.LoadBooleanFromRegistry(kBase, "Empty", true));
    EXPECT_FALSE(reg.LoadBooleanFromRegistry(kBase, "Empty", false));
    // Also without the terminator, as other writers may store it.
    WriteRaw(kBase, "Bare", REG_SZ, "");
    EXPECT_EQ(reg.LoadStringFromRegistry(kBase, "Bare", "fallback"), "fallback");
}

TEST_F(QnRegistryTest, IntegersBooleansAndStringsAreStoredAsText) {
    reg.SaveIntegerToRegistry(kBase, "Int", -2147483647 - 1);
    reg.SaveBooleanToRegistry(kBase, "Yes", true);
    reg.SaveBooleanToRegistry(kBase, "No", false);
    reg.SaveStringToRegistry(kBase, "Text", "caf\xC3\xA9 \xE5\x86\x99\xE7\x9C\x9F");  // "café 写真"

    struct Expect {
        const char* name;
        std::string bytes;
    } expected[] = {{"Int", Sz("-2147483648")}, {"Yes", Sz("-1")}, {"No", Sz("0")},
                    {"Text", Sz("caf\xC3\xA9 \xE5\x86\x99\xE7\x9C\x9F")}};
    for (const Expect& e : expected) {
        RawValue raw = ReadRaw(kBase, e.name);
        ASSERT_TRUE(raw.found) << e.name;
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ)) << e.name;
        EXPECT_EQ(raw.bytes, e.bytes) << e.name;
    }
    EXPECT_EQ(reg.LoadIntegerFromRegistry(kBase, "Int", 0), -2147483647 - 1);
    EXPECT_TRUE(reg.LoadBooleanFromRegistry(kBase, "Yes", false));
    EXPECT_FALSE(reg.LoadBooleanFromRegistry(kBase, "No", true));
    EXPECT_EQ(reg.LoadStringFromRegistry(kBase, "Text", ""), "caf\xC3\xA9 \xE5\x86\x99\xE7\x9C\x9F");
    // Saving replaces: the text of an earlier save does not linger.
    reg.SaveStringToRegistry(kBase, "Text", "x");
    EXPECT_EQ(ReadRaw(kBase, "Text").bytes, Sz("x"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(QnRegistryTest, BooleanTextIsANumberOrTrueOrFalseInAnyCase) {
    struct Case {
        const char* text;
        bool value;
    } cases[] = {{"True", true}, {"true", true},  {"TRUE", true}, {"1", true},     {"-1", true},
                 {"2", true},    {"$10", true},   {"0.5", true},  {"0", false},    {"False", false},
                 {"false", false}, {"0.0", false}, {"-0", false}, {" 0", false}};
    for (const Case& c : cases) {
        WriteRaw(kBase, "Flag", REG_SZ, Sz(c.text));
        // The default is the opposite answer, so it can never pass for the stored one.
        EXPECT_EQ(reg.LoadBooleanFromRegistry(kBase, "Flag", !c.value), c.value) << c.text;
    }
    for (const char* bad : {"yes", "no", "Truth", "1x", "."}) {
        WriteRaw(kBase, "Flag", REG_SZ, Sz(bad));
        try {
            reg.LoadBooleanFromRegistry(kBase, "Flag", false);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid boolean value");
        }
    }
}

TEST_F(QnRegistryTest, IntegerTextFollowsTheFrameworkRule) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"123", 123}, {"-5", -5}, {" 7", 7}, {"$1F", 31}, {"0x10", 16}};
    for (const Case& c : cases) {
        WriteRaw(kBase, "Int", REG_SZ, Sz(c.text));
        EXPECT_EQ(reg.LoadIntegerFromRegistry(kBase, "Int", -999), c.value) << c.text;
    }
    for (const char* bad : {"12abc", "1.5", "2147483648", "abc"}) {
        WriteRaw(kBase, "Int", REG_SZ, Sz(bad));
        try {
            reg.LoadIntegerFromRegistry(kBase, "Int", 0);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST_F(QnRegistryTest, ShortStringsAreBinaryWithoutALengthByte) {
    reg.SaveShortToRegistry(kBase, "Short", "abc");
    RawValue raw = ReadRaw(kBase, "Short");
    ASSERT_TRUE(raw.found);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw.bytes, "abc");
    EXPECT_EQ(reg.LoadShortFromRegistry(kBase, "Short", "fallback"), "abc");

    const std::string full(255, 'f');
    reg.SaveShortToRegistry(kBase, "Full", full);
    EXPECT_EQ(ReadRaw(kBase, "Full").bytes, full);
    EXPECT_EQ(reg.LoadShortFromRegistry(kBase, "Full", ""), full);
    // A short string holds 255 characters: the rest never reaches the registry.
    reg.SaveShortToRegistry(kBase, "Long", std::string(255, 'g') + "tail");
    EXPECT_EQ(ReadRaw(kBase, "Long").bytes, std::string(255, 'g'));

    reg.SaveShortToRegistry(kBase, "Empty", "");
    raw = ReadRaw(kBase, "Empty");
    EXPECT_TRUE(raw.found);
    EXPECT_EQ(raw.bytes.size(), 0u);
    EXPECT_EQ(reg.LoadShortFromRegistry(kBase, "Empty", "fallback"), "fallback");
    EXPECT_EQ(reg.LoadShortFromRegistry(kBase, "Missing", "fallback"), "fallback");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(QnRegistryTest, AValueOfTheWrongKindRaisesTheDataTypeError) {
    WriteRaw(kBase, "Name", REG_DWORD, std::string("\x05\x00\x00\x00", 4));
    auto expectTypeError = [](const std::function<void()>& load, const char* what) {
        try {
            load();
            ADD_FAILURE() << "no error for " << what;
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), "Invalid data type for 'Name'") << what;
        }
    };
    expectTypeError([&] { reg.LoadStringFromRegistry(kBase, "Name", ""); }, "string of a DWORD");
    expectTypeError([&] { reg.LoadIntegerFromRegistry(kBase, "Name", 0); }, "integer of a DWORD");
    expectTypeError([&] { reg.LoadBooleanFromRegistry(kBase, "Name", false); }, "boolean of a DWORD");
    expectTypeError([&] { reg.LoadShortFromRegistry(kBase, "Name", ""); }, "short of a DWORD");

    WriteRaw(kBase, "Name", REG_BINARY, "12");
    expectTypeError([&] { reg.LoadIntegerFromRegistry(kBase, "Name", 0); }, "integer of binary data");
    WriteRaw(kBase, "Name", REG_SZ, Sz("text"));
    expectTypeError([&] { reg.LoadShortFromRegistry(kBase, "Name", ""); }, "short of text");
    WriteRaw(kBase, "Name", REG_BINARY, std::string(256, 'x'));
    expectTypeError([&] { reg.LoadShortFromRegistry(kBase, "Name", ""); }, "short of 256 bytes");

    // Text with environment references is still text.
    WriteRaw(kBase, "Name", REG_EXPAND_SZ, Sz("%TEMP%"));
    EXPECT_EQ(reg.LoadStringFromRegistry(kBase, "Name", ""), "%TEMP%");
}

TEST_F(QnRegistryTest, KeysMayStartWithABackslash) {
    reg.SaveStringToRegistry("\\" + kBase + "\\Lead", "Name", "value");
    EXPECT_EQ(ReadRaw(kBase + "\\Lead", "Name").bytes, Sz("value"));
    EXPECT_EQ(reg.LoadStringFromRegistry("\\" + kBase + "\\Lead", "Name", ""), "value");
    EXPECT_EQ(reg.LoadStringFromRegistry(kBase + "\\Lead\\", "Name", ""), "value");
    EXPECT_TRUE(reg.DeleteValueFromRegistry("\\" + kBase + "\\Lead", "Name"));
    EXPECT_TRUE(reg.DeleteKeyFromRegistry("\\" + kBase + "\\Lead"));
    EXPECT_FALSE(KeyThere(kBase + "\\Lead"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(QnRegistryTest, DeleteValueNeverCreatesItsKey) {
    WriteRaw(kBase, "Name", REG_SZ, Sz("x"));
    EXPECT_TRUE(reg.DeleteValueFromRegistry(kBase, "Name"));
    EXPECT_FALSE(ReadRaw(kBase, "Name").found);
    EXPECT_FALSE(reg.DeleteValueFromRegistry(kBase, "Name"));

    EXPECT_FALSE(reg.DeleteValueFromRegistry(kBase + "\\Nowhere", "Name"));
    EXPECT_FALSE(KeyThere(kBase + "\\Nowhere"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(QnRegistryTest, DeleteKeyTakesEveryKeyBelowIt) {
    WriteRaw(kBase + "\\Tree\\A\\B\\C", "Deep", REG_SZ, Sz("1"));
    WriteRaw(kBase + "\\Tree\\A", "Mid", REG_SZ, Sz("2"));
    WriteRaw(kBase + "\\Tree\\D", "Side", REG_SZ, Sz("3"));
    WriteRaw(kBase + "\\Tree", "Top", REG_SZ, Sz("4"));
    WriteRaw(kBase + "\\Treetop", "Neighbour", REG_SZ, Sz("5"));

    EXPECT_TRUE(reg.DeleteKeyFromRegistry(kBase + "\\Tree"));
    EXPECT_FALSE(KeyThere(kBase + "\\Tree"));
    EXPECT_TRUE(ReadRaw(kBase + "\\Treetop", "Neighbour").found);
    EXPECT_TRUE(KeyThere(kBase));
    // A missing key is made to be deleted: the keys above it stay.
    EXPECT_TRUE(reg.DeleteKeyFromRegistry(kBase + "\\Made\\Gone"));
    EXPECT_TRUE(KeyThere(kBase + "\\Made"));
    EXPECT_FALSE(KeyThere(kBase + "\\Made\\Gone"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(QnRegistryTest, AddKeyCreatesTheKeysAboveIt) {
    EXPECT_TRUE(reg.AddKeyToRegistry(kBase + "\\One\\Two\\Three"));
    EXPECT_TRUE(KeyThere(kBase + "\\One\\Two\\Three"));
    EXPECT_TRUE(reg.AddKeyToRegistry(kBase + "\\One\\Two\\Three"));
}

TEST_F(QnRegistryTest, AKeyThatCannotBeOpenedShowsOneBoxPerOperationAndGoesOn) {
    const std::string key = UnreachableKey();
    ASSERT_FALSE(KeyThere(key));

    reg.SaveStringToRegistry(key, "S", "text");
    reg.SaveIntegerToRegistry(key, "I", 1);
    reg.SaveBooleanToRegistry(key, "B", true);
    reg.SaveShortToRegistry(key, "H", "short");
    ASSERT_EQ(boxes.size(), 4u);
    for (const Box& b : boxes) {
        EXPECT_EQ(b.type, TMsgDlgType::mtInformation);
        EXPECT_EQ(b.text.rfind("The specified key does not exist.", 0), 0u) << b.text;
    }
    EXPECT_FALSE(KeyThere(key));

    boxes.clear();
    EXPECT_EQ(reg.LoadStringFromRegistry(key, "S", "d"), "d");
    EXPECT_EQ(reg.LoadIntegerFromRegistry(key, "I", 9), 9);
    EXPECT_TRUE(reg.LoadBooleanFromRegistry(key, "B", true));
    EXPECT_EQ(reg.LoadShortFromRegistry(key, "H", "d"), "d");
    EXPECT_FALSE(reg.DeleteKeyFromRegistry(key));
    ASSERT_EQ(boxes.size(), 5u);
    for (const Box& b : boxes) {
        EXPECT_EQ(b.text, "Error opening key");
        EXPECT_EQ(b.type, TMsgDlgType::mtCustom);  // the plain message
    }

    boxes.clear();
    EXPECT_FALSE(reg.DeleteValueFromRegistry(key, "S"));
    EXPECT_TRUE(boxes.empty());
    try {
        reg.AddKeyToRegistry(key);
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to create key " + key);
    }
    EXPECT_FALSE(KeyThere(key));
}

// The access object itself, where the component cannot reach.
TEST_F(QnRegistryTest, WritingToAKeyDeletedMeanwhileRaises) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kBase + "\\Gone", true));
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, (kBase + "\\Gone").c_str()), ERROR_SUCCESS);
    try {
        registry.WriteString("Name", "x");
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'Name'");
    }
    EXPECT_THROW(registry.WriteBinaryData("Bin", "ab", 2), ERegistryException);
}

TEST_F(QnRegistryTest, DataKindsAndSizesAreReported) {
    WriteRaw(kBase, "Sz", REG_SZ, Sz("abc"));
    WriteRaw(kBase, "Exp", REG_EXPAND_SZ, Sz("%x%"));
    WriteRaw(kBase, "Dw", REG_DWORD, std::string(4, '\0'));
    WriteRaw(kBase, "Bin", REG_BINARY, "12345");
    WriteRaw(kBase, "Multi", REG_MULTI_SZ, std::string("a\0\0", 3));
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kBase, false));
    EXPECT_EQ(registry.GetDataType("Sz"), TRegDataType::rdString);
    EXPECT_EQ(registry.GetDataType("Exp"), TRegDataType::rdExpandString);
    EXPECT_EQ(registry.GetDataType("Dw"), TRegDataType::rdInteger);
    EXPECT_EQ(registry.GetDataType("Bin"), TRegDataType::rdBinary);
    EXPECT_EQ(registry.GetDataType("Multi"), TRegDataType::rdUnknown);
    EXPECT_EQ(registry.GetDataSize("Sz"), 4);
    EXPECT_EQ(registry.GetDataSize("Bin"), 5);
    EXPECT_EQ(registry.GetDataSize("Missing"), -1);
    EXPECT_TRUE(registry.ValueExists("Dw"));
    EXPECT_FALSE(registry.ValueExists("Missing"));
    EXPECT_TRUE(registry.KeyExists(kBase));
    EXPECT_FALSE(registry.KeyExists(kBase + "\\Missing"));
    EXPECT_FALSE(registry.OpenKey(kBase + "\\Missing", false));
    EXPECT_NE(registry.CurrentKey(), nullptr);  // a failed open keeps the key that was open
    EXPECT_EQ(registry.ReadString("Sz"), "abc");
}

class TRegistryHostForm : public TForm {
public:
    explicit TRegistryHostForm(TComponent* owner) : TForm(owner) {
        RegisterClassInfo("TRegistryHostForm", "TForm");
        RegisterQnRegistryClasses();
    }
    std::string ClassName() const override { return "TRegistryHostForm"; }
};

TEST(QnRegistryComponent, IsMadeFromAFormDescription) {
    std::unique_ptr<TRegistryHostForm, ComponentFree> form(new TRegistryHostForm(nullptr));
    LoadFormText(*form, "object Host: TRegistryHostForm\n  object QnRegistry1: TQnRegistry\n    Tag = 3\n  end\nend\n",
                 "Host.dfm");
    auto* component = dynamic_cast<TQnRegistry*>(form->FindComponent("QnRegistry1"));
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->Owner(), form.get());
    EXPECT_EQ(component->Tag, 3);
    EXPECT_EQ(component->ClassName(), "TQnRegistry");
}

}  // namespace
}  // namespace pellix
