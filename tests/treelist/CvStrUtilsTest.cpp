#include "treelist/CvStrUtils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

TEST(CvCaseTable, HoldsTheOldEditionsRows) {
    const auto Table = UnicodeCaseTable();
    ASSERT_EQ(Table.size(), 814u);
    std::map<unsigned, int> ByStatus;
    for (std::size_t I = 0; I < Table.size(); ++I) {
        ++ByStatus[Table[I].Status];
        if (I > 0) {
            EXPECT_LE(Table[I - 1].Code, Table[I].Code) << "row " << I + 1;
        }
    }
    EXPECT_EQ(ByStatus[CaseStatusC], 683);
    EXPECT_EQ(ByStatus[CaseStatusS], 27);
    EXPECT_EQ(ByStatus[CaseStatusF], 102);
    EXPECT_EQ(ByStatus[CaseStatusT], 2);

    struct TRow {
        unsigned Status, Code, F1, F2;
    };
    const TRow Telling[] = {
        {CaseStatusC, 0x0041, 0x0061, 0},
        {CaseStatusF, 0x00DF, 0x0073, 0x0073},
        {CaseStatusT, 0x0130, 0x0069, 0},
        {CaseStatusT, 0x0131, 0x0069, 0},
        {CaseStatusC, 0x00B5, 0x03BC, 0},
        {CaseStatusC, 0x0345, 0x03B9, 0},
        {CaseStatusF, 0x1F88, 0x1F00, 0x03B9},
        {CaseStatusS, 0x1F88, 0x1F80, 0},
        {CaseStatusC, 0xFF3A, 0xFF5A, 0},
        // Assigned by 3.1, and the lunate sigma's folding as that edition had it.
        {CaseStatusC, 0x03F4, 0x03B8, 0},
        {CaseStatusC, 0x03F5, 0x03B5, 0},
        {CaseStatusC, 0x03F2, 0x03C3, 0},
    };
    for (const TRow& R : Telling) {
        bool Found = false;
        for (const TCaseTableEntry& E : Table)
            Found |= E.Status == R.Status && E.Code == R.Code && E.Folded[0] == R.F1 &&
                     E.Folded[1] == R.F2;
        EXPECT_TRUE(Found) << std::hex << R.Code;
    }
    EXPECT_EQ(Table.front().Code, 0x0041);
    EXPECT_EQ(Table.back().Code, 0xFF3A);
    // Foldings that later editions added for old characters are not there, nor is capital
    // dotted I's full folding: that edition folded it by its Turkic row alone.
    for (const TCaseTableEntry& E : Table) {
        EXPECT_TRUE(E.Code != 0x10A0 && E.Code != 0x04C0 && E.Code != 0x2132 && E.Code != 0x2183)
            << std::hex << E.Code;
        EXPECT_FALSE(E.Code == 0x0130 && E.Status != CaseStatusT);
    }
}

TEST(CvCaseTable, FoldsByTableOrder) {
    struct TCase {
        const wchar_t* From;
        const wchar_t* To;
    };
    const TCase Cases[] = {
        {L"", L""},
        {L"a\u00E0\u00FF", L"A\u00C0\u0178"},
        {L"\u03C3\u03C2", L"\u03A3\u03C2"}, // final sigma stays
        {L"\u03BC\u03B9", L"\u00B5\u0345"}, // micro sign and ypogegrammeni come first
        {L"stra\u00DFe", L"STRA\u00DFE"},   // sharp s has only a full folding
        {L"i\u0131", L"I\u0131"},           // dotless i stays
        {L"\u01C6\u01C5", L"\u01C4\u01C5"},
        {L"\u1F80\uFF41", L"\u1F88\uFF21"},
        {L"Already UPPER 123", L"ALREADY UPPER 123"},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(WideFoldCase(Case.From), String(Case.To)) << ToUtf8(Case.From);
}

// Sort keys fold unit by unit as they are read; that must give WideFoldCase's result exactly.
TEST(CvCaseTable, UnitFoldAgreesWithWholeTextFold) {
    String All(0xFFFF, L' ');
    for (std::size_t U = 1; U <= All.size(); ++U)
        All[U - 1] = static_cast<wchar_t>(U);
    const String Folded = WideFoldCase(All);
    ASSERT_EQ(Folded.size(), All.size());
    int Changed = 0;
    for (std::size_t I = 0; I < All.size(); ++I) {
        ASSERT_EQ(WideFoldUnit(All[I]), Folded[I]) << std::hex << static_cast<int>(All[I]);
        Changed += Folded[I] != All[I];
    }
    EXPECT_GT(Changed, 600);
    EXPECT_EQ(WideFoldUnit(L'a'), L'A');
    EXPECT_EQ(WideFoldUnit(0), 0);
}

TEST(CvCaseTable, LooksUpAndConvertsBothWays) {
    const int SharpS = CaseTableLookup(0x00DF, TCaseDirection::Forward, CaseStatusF);
    ASSERT_GT(SharpS, 0);
    EXPECT_EQ(UnicodeCaseTable()[SharpS - 1].Folded[1], 0x0073);
    EXPECT_EQ(CaseTableLookup(0x00DF, TCaseDirection::Forward, CaseStatusC), 0);
    EXPECT_EQ(CaseTableLookup(L'A', TCaseDirection::Forward, 0), 0);

    // Forward with the full foldings expands; reverse gives the multi-unit form back.
    EXPECT_EQ(CaseTableConvert(L"Stra\u00DFe", TCaseDirection::Forward, CaseStatusC | CaseStatusF),
              L"strasse");
    EXPECT_EQ(CaseTableConvert(L"x\u1F88y", TCaseDirection::Forward, CaseStatusF),
              L"x\u1F00\u03B9y");
    EXPECT_EQ(CaseTableConvert(L"ss", TCaseDirection::Reverse, CaseStatusF), L"\u00DF");

    const int Sharp = CaseTableLookup(L's', TCaseDirection::Reverse, CaseStatusF);
    EXPECT_EQ(CaseTableMatchLength(L"xss", 2, Sharp), 2);
    EXPECT_EQ(CaseTableMatchLength(L"xs", 2, Sharp), 0);
    EXPECT_EQ(CaseTableMatchLength(L"xs", 3, Sharp), 0);
    EXPECT_EQ(CaseTableMatchLength(L"s", 1, CaseTableLookup(L's', TCaseDirection::Reverse, 1)), 1);
}

TEST(CvStrUtils, HexToInt) {
    struct TCase {
        const wchar_t* Text;
        std::int32_t Value;
        const char* Error; // nullptr when it parses
    };
    const TCase Cases[] = {
        {L"$FF", 255, nullptr},
        {L"-1a", -26, nullptr},
        {L"+7", 7, nullptr},
        {L"\t 10 \r\n", 16, nullptr},
        {L"FFFFFFFF", -1, nullptr},
        {L"100000001", 1, nullptr}, // wraps at 32 bits
        {L"$", 0, "'' is not a valid integer value"},
        {L" $FF", 0, "'$FF' is not a valid integer value"},
        {L"12G", 0, "'12G' is not a valid integer value"},
        {L"-", 0, "'' is not a valid integer value"},
        {L"-zz", 0, "'zz' is not a valid integer value"},
        {L"  ", 0, "'' is not a valid integer value"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Text));
        if (Case.Error == nullptr) {
            EXPECT_EQ(HexToInt(Case.Text), Case.Value);
            continue;
        }
        try {
            HexToInt(Case.Text);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& E) {
            EXPECT_EQ(ToUtf8(E.Message()), Case.Error);
        }
    }
    EXPECT_EQ(HexToIntDef(L"zz", 7), 7);
    EXPECT_EQ(HexToIntDef(L"$10", 7), 16);
}

TEST(CvStrUtils, ParseCurrencyText) {
    struct TCase {
        const wchar_t* Text;
        const wchar_t* Symbol;
        wchar_t Thousand;
        TCurrency Value;
    };
    const TCase Cases[] = {
        {L"", L"$", L',', 0},
        {L"12-", L"$", L',', -120000},
        {L"(1 234.5)", L"$", L' ', -12345000},
        {L"1,234.56", L"$", L',', 12340}, // the comma starts the fraction, the point ends it
        {L"$ 12.50", L"$", L',', 125000},
        {L"-$3", L"$", L',', -30000},
        {L"3$-", L"$", L',', -30000},     // the minus after digits ends the scan
        {L"1.23456", L"$", L',', 183450}, // a fifth fraction digit counts as integer again
        {L"EUR 7", L"EUR", L'.', 70000},
        {L"7 kr", L"", L'.', 70000}, // 'k' ends the scan
        {L"1'000", L"$", L'\'', 10000000},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(ParseCurrencyText(Case.Text, Case.Symbol, L'.', Case.Thousand), Case.Value)
            << ToUtf8(Case.Text);
    // A decimal comma of the locale is a separator like the others.
    EXPECT_EQ(ParseCurrencyText(L"2;5", L"", L';', L' '), 25000);
}

TEST(CvStrUtils, ComparesAndSearches) {
    EXPECT_EQ(WideCompareOrdinal(L"abc", L"abd"), -1);
    EXPECT_EQ(WideCompareOrdinal(L"abc", L"ab"), 1);
    EXPECT_EQ(WideCompareOrdinal(L"", L""), 0);
    EXPECT_EQ(WideCompareOrdinal(L"\uFFFF", L"a"), 1); // unsigned units
    EXPECT_GT(WideCompareStr(L"b", L""), 0);
    EXPECT_EQ(WideCompareStr(L"", L""), 0);
    EXPECT_EQ(WideBufCompare(L"ab", L"ac"), -1);
    EXPECT_TRUE(SameTextNoCase("Hello", "hELLO"));
    EXPECT_FALSE(SameTextNoCase("Hello", "Hell"));

    EXPECT_EQ(WidePos(L"=", L"abc"), 0);
    EXPECT_EQ(WidePos(L"", L"abc"), 0);
    EXPECT_EQ(WidePos(L"abcd", L"abc"), 0);
    EXPECT_EQ(WidePos(L"b", L"abcb"), 2);
    EXPECT_EQ(WideLastPos(L"ab", L"abxab"), 4);
    EXPECT_EQ(WideLastPos(L"ab", L""), 0);

    const wchar_t* Text = L"axbxc";
    EXPECT_EQ(WideStrPos(Text, L"xc"), Text + 3);
    EXPECT_EQ(WideStrPos(Text, L""), nullptr);
    EXPECT_EQ(WideStrPos(nullptr, L"a"), nullptr);
    EXPECT_EQ(WideStrScan(Text, L'x'), Text + 1);
    EXPECT_EQ(WideStrRScan(Text, L'x'), Text + 3);
    EXPECT_EQ(WideStrScan(Text, 0), Text + 5);
    EXPECT_EQ(WideStrRScan(Text, L'q'), nullptr);

    EXPECT_TRUE(AnsiPrefixMatch("abc", nullptr));
    EXPECT_FALSE(AnsiPrefixMatch(nullptr, "a"));
    EXPECT_TRUE(AnsiPrefixMatch("abc", "ab"));
    EXPECT_FALSE(AnsiPrefixMatch("abc", "abcd"));
    EXPECT_TRUE(AnsiContainsAt("abcd", 2, "bc"));
    EXPECT_FALSE(AnsiContainsAt("abcd", 0, "a"));
    EXPECT_FALSE(AnsiContainsAt("abcd", 5, ""));
    EXPECT_FALSE(AnsiContainsAt("abcd", 3, "cde"));
}

TEST(CvStrUtils, BuffersAndStrings) {
    wchar_t Buf[16];
    WideStrLCopy(Buf, L"abcdef", 3);
    EXPECT_STREQ(Buf, L"abc");
    WideStrCat(Buf, L"XY");
    EXPECT_EQ(WideStrLen(Buf), 5);
    EXPECT_EQ(WideStrEnd(Buf), Buf + 5);
    WideCopyToBuffer(Buf, L"hello");
    EXPECT_STREQ(Buf, L"hello");
    WideStrMove(Buf, Buf + 1, 5); // overlapping, upwards
    EXPECT_EQ(String(Buf, 6), L"hhello");
    WideStrMove(Buf + 1, Buf, 5); // and back down
    EXPECT_EQ(String(Buf, 5), L"hello");
    WideFillUnits(Buf, -1, L'z');
    WideFillUnits(Buf, 2, L'z');
    EXPECT_EQ(String(Buf, 5), L"zzllo");
    WideStrCopy(Buf, L"q");
    EXPECT_STREQ(Buf, L"q");

    EXPECT_EQ(WideFromBuffer(nullptr), L"");
    String S;
    WideSetString(S, nullptr, 3);
    EXPECT_EQ(S, String(3, L'\0'));
    WideSetString(S, L"abcdef", 2);
    EXPECT_EQ(S, L"ab");
    EXPECT_EQ(WideStringOfChar(L'-', 3), L"---");

    struct TCase {
        int Index, Count;
        const wchar_t* Copied;
        const wchar_t* Left;
        const wchar_t* Cut;
    };
    // Copying counts an index below 1 from 1; deleting from there deletes nothing.
    const TCase Cases[] = {
        {2, 2, L"bc", L"ade", L"bc"}, {0, 2, L"ab", L"abcde", L""}, {4, 9, L"de", L"abc", L"de"},
        {6, 1, L"", L"abcde", L""},   {1, 0, L"", L"abcde", L""},   {1, -1, L"", L"abcde", L""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Index);
        String Text = L"abcde";
        EXPECT_EQ(WideCopyRange(Text, Case.Index, Case.Count), Case.Copied);
        String Cut = Text;
        WideDelete(Cut, Case.Index, Case.Count);
        EXPECT_EQ(Cut, Case.Left);
        EXPECT_EQ(WideCutOut(Text, Case.Index, Case.Count), Case.Cut);
        EXPECT_EQ(Text, Case.Left);
    }
}
