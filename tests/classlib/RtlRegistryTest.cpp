#include "classlib/rtl/Registry.h"

#include "tests/support/StringLines.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const wchar_t* const TestRoot = L"Software\\QrvTest\\Rtl";

// Every test starts from an empty key and leaves nothing behind.
class RtlRegistry : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, TestRoot); }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, TestRoot);
        RegDeleteKeyW(HKEY_CURRENT_USER, TestRoot);
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QrvTest");
    }
};

} // namespace

TEST_F(RtlRegistry, ValuesOfEveryType) {
    TRegistry Reg;
    EXPECT_EQ(Reg.RootKey(), HKEY_CURRENT_USER);
    ASSERT_TRUE(Reg.OpenKey(String(L"\\") + TestRoot, true));
    EXPECT_EQ(Reg.CurrentPath(), TestRoot);

    Reg.WriteString(L"Str", L"C:\\Program Files\\\u00E9");
    Reg.WriteExpandString(L"Exp", L"%SystemRoot%\\x");
    Reg.WriteInteger(L"Int", -2);
    Reg.WriteBool(L"Bool", true);
    const unsigned char Bytes[] = {1, 0, 255, 7};
    Reg.WriteBinaryData(L"Bin", Bytes, sizeof Bytes);
    Reg.WriteString(L"", L"default");

    EXPECT_EQ(Reg.ReadString(L"Str"), L"C:\\Program Files\\\u00E9");
    EXPECT_EQ(Reg.ReadString(L"Exp"), L"%SystemRoot%\\x");
    EXPECT_EQ(Reg.ReadString(L""), L"default");
    EXPECT_EQ(Reg.ReadInteger(L"Int"), -2);
    EXPECT_TRUE(Reg.ReadBool(L"Bool"));
    unsigned char Back[8] = {};
    EXPECT_EQ(Reg.ReadBinaryData(L"Bin", Back, sizeof Back), 4);
    EXPECT_EQ(std::vector<unsigned char>(Back, Back + 4),
              std::vector<unsigned char>(Bytes, Bytes + 4));
    EXPECT_EQ(Reg.ReadBinaryData(L"Bin"), std::vector<unsigned char>(Bytes, Bytes + 4));
    EXPECT_THROW(Reg.ReadBinaryData(L"Bin", Back, 3), ERegistryException);

    EXPECT_EQ(Reg.GetDataType(L"Str"), rdString);
    EXPECT_EQ(Reg.GetDataType(L"Exp"), rdExpandString);
    EXPECT_EQ(Reg.GetDataType(L"Int"), rdInteger);
    EXPECT_EQ(Reg.GetDataType(L"Bin"), rdBinary);
    EXPECT_EQ(Reg.GetDataType(L"None"), rdUnknown);
    EXPECT_EQ(Reg.GetDataSize(L"Int"), 4);
    EXPECT_EQ(Reg.GetDataSize(L"None"), -1);

    EXPECT_THROW(Reg.ReadString(L"None"), ERegistryException);
    EXPECT_THROW(Reg.ReadInteger(L"None"), ERegistryException);
    EXPECT_THROW(Reg.ReadInteger(L"Str"), ERegistryException);
    EXPECT_THROW(Reg.ReadString(L"Int"), ERegistryException);

    EXPECT_TRUE(Reg.ValueExists(L"Str"));
    EXPECT_TRUE(Reg.DeleteValue(L"Str"));
    EXPECT_FALSE(Reg.ValueExists(L"Str"));
    EXPECT_FALSE(Reg.DeleteValue(L"Str"));
}

TEST_F(RtlRegistry, StringsWithoutTerminatorAreRead) {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(String(L"\\") + TestRoot, true));
    const wchar_t Raw[] = {L'a', L'b', L'c'};
    ASSERT_EQ(RegSetValueExW(Reg.CurrentKey(), L"Raw", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(Raw), sizeof Raw),
              ERROR_SUCCESS);
    EXPECT_EQ(Reg.ReadString(L"Raw"), L"abc");
}

TEST_F(RtlRegistry, RelativeAndAbsoluteKeys) {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(String(L"\\") + TestRoot, true));
    // Without a leading backslash the key is below the open key.
    ASSERT_TRUE(Reg.OpenKey(L"Child\\Grand", true));
    EXPECT_EQ(Reg.CurrentPath(), String(TestRoot) + L"\\Child\\Grand");
    Reg.WriteInteger(L"V", 1);
    // With it, the key is taken from the root again.
    ASSERT_TRUE(Reg.OpenKey(String(L"\\") + TestRoot + L"\\", false));
    EXPECT_EQ(Reg.CurrentPath(), TestRoot);
    EXPECT_TRUE(Reg.KeyExists(L"Child\\Grand"));
    EXPECT_TRUE(Reg.KeyExists(String(L"\\") + TestRoot + L"\\Child"));
    EXPECT_FALSE(Reg.KeyExists(L"Nope"));
    EXPECT_TRUE(Reg.HasSubKeys());

    // A failed open keeps the key that was open.
    EXPECT_FALSE(Reg.OpenKey(L"Nope", false));
    EXPECT_EQ(Reg.CurrentPath(), TestRoot);
    EXPECT_NE(Reg.CurrentKey(), nullptr);

    Reg.CloseKey();
    EXPECT_EQ(Reg.CurrentKey(), nullptr);
    EXPECT_EQ(Reg.CurrentPath(), L"");
    // With no key open, a relative key starts at the root.
    EXPECT_TRUE(Reg.KeyExists(String(TestRoot) + L"\\Child\\Grand"));
    EXPECT_FALSE(Reg.ValueExists(L"V"));
    EXPECT_THROW(Reg.ReadInteger(L"V"), ERegistryException);
    EXPECT_THROW(Reg.WriteInteger(L"V", 1), ERegistryException);
}

TEST_F(RtlRegistry, NamesAndRecursiveDelete) {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(String(L"\\") + TestRoot + L"\\Tree", true));
    Reg.WriteString(L"b", L"");
    Reg.WriteString(L"a", L"");
    ASSERT_TRUE(Reg.CreateKey(L"K1\\Deep"));
    ASSERT_TRUE(Reg.CreateKey(L"K2"));
    TStringList Names;
    Reg.GetValueNames(Names);
    Names.Sort();
    EXPECT_EQ(Lines(Names), (std::vector<String>{L"a", L"b"}));
    Reg.GetKeyNames(Names);
    Names.Sort();
    EXPECT_EQ(Lines(Names), (std::vector<String>{L"K1", L"K2"}));

    EXPECT_FALSE(Reg.DeleteKey(L""));
    EXPECT_FALSE(Reg.DeleteKey(L"\\"));
    EXPECT_TRUE(Reg.DeleteKey(L"K1"));
    EXPECT_FALSE(Reg.KeyExists(L"K1"));
    EXPECT_TRUE(Reg.KeyExists(L"K2"));
    EXPECT_FALSE(Reg.DeleteKey(L"K1"));

    Reg.CloseKey();
    EXPECT_TRUE(Reg.DeleteKey(String(L"\\") + TestRoot + L"\\Tree"));
    EXPECT_FALSE(Reg.KeyExists(String(L"\\") + TestRoot + L"\\Tree"));
    Reg.GetValueNames(Names);
    EXPECT_EQ(Names.Count(), 0);
}

TEST_F(RtlRegistry, ReadOnlyOpenAndOtherRoots) {
    {
        TRegistry Writer;
        ASSERT_TRUE(Writer.OpenKey(String(L"\\") + TestRoot, true));
        Writer.WriteString(L"X", L"1");
    }
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKeyReadOnly(String(L"\\") + TestRoot));
    EXPECT_EQ(Reg.ReadString(L"X"), L"1");
    EXPECT_THROW(Reg.WriteString(L"X", L"2"), ERegistryException);
    // The read-only open does not make later opens read-only.
    ASSERT_TRUE(Reg.OpenKey(String(L"\\") + TestRoot, false));
    EXPECT_NO_THROW(Reg.WriteString(L"X", L"2"));

    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Reg.CurrentKey(), nullptr);
    EXPECT_TRUE(Reg.KeyExists(L"Software"));
    EXPECT_FALSE(Reg.KeyExists(String(L"\\") + TestRoot));
}
