#include "app/Match.h"

#include <gtest/gtest.h>

namespace {

struct TMaskText {
    const wchar_t* Text;
    const wchar_t* ReadBack;
};

// How a typed mask list is parsed: separators, trimming, lower case, the
// implicit stars, sorting and kept duplicates.
TEST(Match, MaskTextIsParsedAndReadBack) {
    const TMaskText Cases[] = {
        {L"", L"*"},
        {L"*.TMP, *.bak", L"*.bak;*.tmp"},
        {L"b.txt;A.txt;c.txt", L"a.txt;b.txt;c.txt"},
        {L"*.tmp;*.tmp", L"*.tmp;*.tmp"},
        {L"tmp", L"*tmp*"},
        {L"*tmp", L"*tmp*"},
        {L"~*", L"~*"},
        {L"*a*b", L"*a*b*"},
        {L"file?", L"*file?*"},
        {L"README.TXT", L"readme.txt"},
        {L"\t*.log\r\n", L"*.log"},
        {L"\x00C4RGER.TXT", L"\x00E4rger.txt"},
        // Empty pieces are dropped rather than becoming a match-all "**".
        {L"a; ", L"*a*"},
        {L"a;;b", L"*a*;*b*"},
        {L"*.tmp, ", L"*.tmp"},
        // Nothing but separators or blanks reads as no restriction, like the empty text.
        {L";", L"*"},
        {L" ; , ", L"*"},
    };
    TMatch Match(nullptr);
    for (const TMaskText& C : Cases) {
        Match.SetMask(C.Text);
        EXPECT_EQ(Match.Mask(), C.ReadBack) << "mask text '" << C.Text << "'";
    }
}

TEST(Match, NewMatcherMatchesEverything) {
    TMatch Match(nullptr);
    EXPECT_EQ(Match.Mask(), L"*");
    EXPECT_TRUE(Match.Matches(L"any.thing"));
    EXPECT_TRUE(Match.Matches(L"noext"));
}

struct TMatchCase {
    const wchar_t* MaskText;
    const wchar_t* Name;
    bool Expected;
};

TEST(Match, NamesAgainstMaskLists) {
    const TMatchCase Cases[] = {
        {L"", L"anything.at.all", true},
        {L"*.tmp", L"", true},
        {L"tmp", L"mytmpfile.doc", true},
        {L"tmp", L"TMP", true},
        {L"tmp", L"tm.p", false},
        {L"readme.txt", L"README.TXT", true},
        {L"readme.txt", L"readme.txt.bak", false},
        {L"readme.txt", L"xreadme.txt", false},
        {L"*.txt", L"notes.txt", true},
        {L"*.txt", L"a.txt.txt", true},
        {L"*.txt", L"notes.txt.bak", false},
        {L"*.txt", L"txt", false},
        {L"*.exe; *.com; *.dll; *.386; *.vxd; *.sys", L"setup.exe.exe", true},
        {L"*.exe; *.com; *.dll; *.386; *.vxd; *.sys", L"x.dll.dll", true},
        {L"*.exe; *.com; *.dll; *.386; *.vxd; *.sys", L"readme.exe.txt", false},
        {L"*.*", L"a.b", true},
        {L"*.*", L"makefile", false},
        {L"file?.txt", L"file1.txt", true},
        {L"file?.txt", L"file.txt", false},
        {L"file?.txt", L"file12.txt", false},
        {L"*a*b", L"axb", true},
        {L"*a*b", L"ab", true},
        {L"*a*b", L"abx", true},
        {L"*a*b", L"ba", false},
        {L"a*a", L"aa", true},
        {L"a*a", L"a", false},
        {L"~*", L"~wrd0001.tmp", true},
        {L"~*", L"a~b", false},
        {L"*a?c.log", L"abxabc.log", true},
        {L"*.tar.gz", L"a.tar.tar.gz", true},
        {L"*.t?t", L"x.tt", false},
        {L"*.TMP, *.bak", L"Old.BAK", true},
        {L"\x00C4RGER.TXT", L"\x00C4rger.txt", true},
        // A stray separator must not make every file junk.
        {L"a; ", L"zzz.doc", false},
        {L"*.tmp, ", L"letter.doc", false},
        {L"a;;b", L"cab", true},
        {L";", L"letter.doc", true},
    };
    TMatch Match(nullptr);
    for (const TMatchCase& C : Cases) {
        Match.SetMask(C.MaskText);
        EXPECT_EQ(Match.Matches(C.Name), C.Expected)
            << "mask '" << C.MaskText << "', name '" << C.Name << "'";
    }
}

// The single-mask matcher takes its mask as it stands, with no implicit stars.
TEST(Match, MatchMaskTakesTheMaskLiterally) {
    EXPECT_TRUE(TMatch::MatchMask(L"", L"*"));
    EXPECT_TRUE(TMatch::MatchMask(L"", L""));
    EXPECT_FALSE(TMatch::MatchMask(L"", L"?"));
    EXPECT_TRUE(TMatch::MatchMask(L"abc", L"**"));
    EXPECT_TRUE(TMatch::MatchMask(L"abc", L"a*"));
    EXPECT_FALSE(TMatch::MatchMask(L"abc", L"b*"));
    EXPECT_TRUE(TMatch::MatchMask(L"abc", L"???"));
    EXPECT_FALSE(TMatch::MatchMask(L"abc", L"????"));
    EXPECT_TRUE(TMatch::MatchMask(L"aaaaaaaaaaaaaaaaaaaab", L"*a*a*a*a*b"));
    EXPECT_FALSE(TMatch::MatchMask(L"aaaaaaaaaaaaaaaaaaaaa", L"*a*a*a*a*b"));
}

TEST(Match, MatchesFileLooksOnlyAtTheNamePart) {
    TMatch Match(nullptr);
    Match.SetMask(L"*.tmp");
    EXPECT_TRUE(Match.MatchesFile(L"C:\\Temp\\X.TMP"));
    EXPECT_TRUE(Match.MatchesFile(L"C:X.TMP"));
    EXPECT_TRUE(Match.MatchesFile(L"X.tmp"));
    EXPECT_FALSE(Match.MatchesFile(L"C:\\Old.tmp\\Letter.doc"));
    EXPECT_TRUE(Match.MatchesFile(L"C:\\Temp\\"));
}

TEST(Match, AttributesAndFindStringAreOnlyStored) {
    TMatch Match(nullptr);
    EXPECT_EQ(Match.Attributes(), 63);
    EXPECT_EQ(Match.FindString, L"");
    for (const int Value : {0, 1, 5, 32, 63}) {
        Match.SetAttributes(Value);
        EXPECT_EQ(Match.Attributes(), Value);
    }
    Match.SetAttributes(0);
    Match.FindString = L"needle";
    Match.SetMask(L"*.tmp");
    EXPECT_TRUE(Match.Matches(L"a.tmp"));
}

} // namespace
