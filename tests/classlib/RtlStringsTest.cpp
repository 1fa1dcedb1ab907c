#include "classlib/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <climits>

TEST(RtlConversion, Utf8RoundTripKeepsEveryCharacter) {
    const String Text = L"Gr\u00FC\u00DFe \u65E5\u672C \U0001F600 end";
    const std::string Utf8 = ToUtf8(Text);
    EXPECT_EQ(Utf8, "Gr\xC3\xBC\xC3\x9F"
                    "e \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 end");
    EXPECT_EQ(FromUtf8(Utf8), Text);
    EXPECT_EQ(ToUtf8(L""), "");
    EXPECT_EQ(FromUtf8(""), L"");
}

TEST(RtlConversion, AnsiUsesTheSystemCodePage) {
    // The test prefix runs with code page 1252.
    EXPECT_EQ(ToAnsi(L"caf\u00E9"), "caf\xE9");
    EXPECT_EQ(FromAnsi("caf\xE9"), L"caf\u00E9");
}

TEST(RtlConversion, ExceptionCarriesTextAndUtf8What) {
    const EConvertError E(L"bad \u00E9");
    EXPECT_EQ(E.Message(), L"bad \u00E9");
    EXPECT_STREQ(E.what(), "bad \xC3\xA9");
    const Exception& Base = E;
    EXPECT_EQ(Base.Message(), L"bad \u00E9");
    EXPECT_THROW(Abort(), EAbort);
}

TEST(RtlStrings, TrimRemovesControlCharactersAndBlanksOnly) {
    EXPECT_EQ(Trim(L" \t\r\n a b \x01\x1F"), L"a b");
    EXPECT_EQ(TrimLeft(L"  a  "), L"a  ");
    EXPECT_EQ(TrimRight(L"  a  "), L"  a");
    EXPECT_EQ(Trim(L"   "), L"");
    // A no-break space is text, not blank.
    EXPECT_EQ(Trim(L"\u00A0x\u00A0"), L"\u00A0x\u00A0");
}

TEST(RtlStrings, CaseMapping) {
    EXPECT_EQ(UpperCase(L"abc\u00E9xyz"), L"ABC\u00E9XYZ");
    EXPECT_EQ(LowerCase(L"ABC\u00C9XYZ"), L"abc\u00C9xyz");
    EXPECT_EQ(AnsiUpperCase(L"abc\u00E9"), L"ABC\u00C9");
    EXPECT_EQ(AnsiLowerCase(L"ABC\u00C9"), L"abc\u00E9");
}

TEST(RtlStrings, Comparisons) {
    EXPECT_EQ(CompareText(L"abc", L"ABC"), 0);
    EXPECT_LT(CompareText(L"abc", L"abd"), 0);
    EXPECT_GT(CompareText(L"abcd", L"ABC"), 0);
    EXPECT_TRUE(SameText(L"Hello", L"hELLO"));
    EXPECT_FALSE(SameText(L"Hello", L"Hell"));
    // ASCII only: accented letters differ by case.
    EXPECT_FALSE(SameText(L"\u00E9", L"\u00C9"));
    EXPECT_TRUE(AnsiSameText(L"\u00E9t\u00E9", L"\u00C9T\u00C9"));
    EXPECT_EQ(AnsiCompareText(L"apple", L"APPLE"), 0);
    EXPECT_LT(AnsiCompareText(L"apple", L"Banana"), 0);
    EXPECT_NE(AnsiCompareStr(L"apple", L"APPLE"), 0);
    EXPECT_LT(AnsiCompareStr(L"a", L"b"), 0);
}

TEST(RtlStrings, StringReplace) {
    struct TCase {
        const wchar_t* S;
        const wchar_t* Old;
        const wchar_t* New;
        TReplaceFlags Flags;
        const wchar_t* Expected;
    };
    const TCase Cases[] = {
        {L"a,b,c", L",", L";", {}, L"a;b,c"},
        {L"a,b,c", L",", L";", {rfReplaceAll}, L"a;b;c"},
        {L"Line|Two|", L"|", L"\r", rfReplaceAll, L"Line\rTwo\r"},
        {L"aXbxc", L"x", L"-", {rfReplaceAll}, L"aXb-c"},
        {L"aXbxc", L"x", L"-", {rfReplaceAll, rfIgnoreCase}, L"a-b-c"},
        {L"\u00C9t\u00E9", L"\u00E9", L"e", {rfReplaceAll, rfIgnoreCase}, L"ete"},
        {L"aaa", L"aa", L"a", {rfReplaceAll}, L"aa"},
        {L"abc", L"", L"x", {rfReplaceAll}, L"abc"},
        {L"", L"a", L"b", {rfReplaceAll}, L""},
        {L"abc", L"abc", L"", {}, L""},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(StringReplace(C.S, C.Old, C.New, C.Flags), C.Expected) << C.S << " / " << C.Old;
}

TEST(RtlStrings, PositionsAreOneBased) {
    EXPECT_EQ(Pos(L"b", L"abcb"), 2);
    EXPECT_EQ(Pos(L"z", L"abc"), 0);
    EXPECT_EQ(Pos(L"", L"abc"), 0);
    EXPECT_EQ(PosEx(L"b", L"abcb", 3), 4);
    EXPECT_EQ(PosEx(L"b", L"abcb", 5), 0);
    EXPECT_EQ(PosEx(L"b", L"abcb", 0), 0);
    EXPECT_EQ(LastDelimiter(L"\\:", L"C:\\a\\b.txt"), 5);
    EXPECT_EQ(LastDelimiter(L".", L"abc"), 0);
}

TEST(RtlStrings, CopyClampsLikeTheClassicLibrary) {
    EXPECT_EQ(Copy(L"abcdef", 2, 3), L"bcd");
    EXPECT_EQ(Copy(L"abcdef", 0, 2), L"ab");
    EXPECT_EQ(Copy(L"abcdef", 5, 100), L"ef");
    EXPECT_EQ(Copy(L"abcdef", 7, 1), L"");
    EXPECT_EQ(Copy(L"abcdef", 2, -1), L"");
    EXPECT_EQ(Copy(L"abcdef", 1, INT_MAX), L"abcdef");
    EXPECT_EQ(StringOfChar(L'*', 3), L"***");
    EXPECT_EQ(StringOfChar(L'*', -1), L"");
}

TEST(RtlIntegers, ToText) {
    EXPECT_EQ(IntToStr(0), L"0");
    EXPECT_EQ(IntToStr(-42), L"-42");
    EXPECT_EQ(IntToStr(INT64_C(9223372036854775807)), L"9223372036854775807");
    EXPECT_EQ(IntToHex(255, 4), L"00FF");
    EXPECT_EQ(IntToHex(0x1234ABCD, 8), L"1234ABCD");
    EXPECT_EQ(IntToHex(0x12345, 2), L"12345");
    EXPECT_EQ(IntToHex(-1, 8), L"FFFFFFFFFFFFFFFF");
}

TEST(RtlIntegers, FromText) {
    struct TCase {
        const wchar_t* Text;
        bool Valid;
        int Value;
    };
    const TCase Cases[] = {
        {L"123", true, 123},
        {L"  -7", true, -7},
        {L"+8", true, 8},
        {L"$FF", true, 255},
        {L"0x10", true, 16},
        {L"$FFFFFFFF", true, -1},
        {L"2147483647", true, INT_MAX},
        {L"-2147483648", true, INT_MIN},
        {L"2147483648", false, 0},
        {L"$100000000", false, 0},
        {L"12 ", false, 0},
        {L"1a", false, 0},
        {L"", false, 0},
        {L"-", false, 0},
        {L"0x", false, 0},
        {L"\uFF11", false, 0}, // a full-width digit is no digit
    };
    for (const TCase& C : Cases) {
        int V = 0;
        EXPECT_EQ(TryStrToInt(C.Text, V), C.Valid) << C.Text;
        if (C.Valid) {
            EXPECT_EQ(V, C.Value) << C.Text;
            EXPECT_EQ(StrToInt(C.Text), C.Value);
        } else {
            EXPECT_THROW(StrToInt(C.Text), EConvertError) << C.Text;
            EXPECT_EQ(StrToIntDef(C.Text, -99), -99) << C.Text;
        }
    }
    EXPECT_EQ(StrToInt64Def(L"9223372036854775807", 0), INT64_C(9223372036854775807));
    EXPECT_EQ(StrToInt64Def(L"-9223372036854775808", 0), INT64_MIN);
    EXPECT_EQ(StrToInt64Def(L"9223372036854775808", 5), 5);
    EXPECT_EQ(StrToInt64Def(L"4294967296", 0), INT64_C(4294967296));
    EXPECT_THROW(StrToInt64(L"x"), EConvertError);
}
