#include "treelist/CvUnicodeStrings.h"

#include "treelist/CvStrUtils.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<String> Lines(const TCvWideStrings& List) {
    std::vector<String> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List.Strings(I));
    return Result;
}

std::string Bytes(const TMemoryStream& M) {
    return std::string(static_cast<const char*>(M.Memory()),
                       static_cast<std::size_t>(const_cast<TMemoryStream&>(M).Size()));
}

TMemoryStream StreamOf(const std::string& Data) {
    TMemoryStream M;
    M.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
    M.SetPosition(0);
    return M;
}

// Counts the change notices of a list.
struct TNotices {
    int Changing = 0;
    int Changed = 0;
    void Watch(TCvWideStringList& List) {
        List.OnChanging = [this](TObject*) { ++Changing; };
        List.OnChange = [this](TObject*) { ++Changed; };
    }
};

class TTag : public TObject {};

} // namespace

TEST(CvWideStringList, GrowsAndReportsOneNoticePerBracket) {
    TCvWideStringList List;
    EXPECT_EQ(List.Add(L"a"), 0);
    EXPECT_EQ(List.Capacity(), 4);
    for (int I = 0; I < 8; ++I)
        List.Add(L"x");
    EXPECT_EQ(List.Capacity(), 12);

    TNotices Notices;
    Notices.Watch(List);
    List.BeginUpdate();
    List.Add(L"b");
    List.Delete(0);
    List.Exchange(0, 1);
    List.BeginUpdate();
    List.SetStrings(0, L"c");
    List.EndUpdate();
    EXPECT_EQ(Notices.Changing, 1);
    EXPECT_EQ(Notices.Changed, 0);
    List.EndUpdate();
    EXPECT_EQ(Notices.Changed, 1);

    List.Delete(0); // the capacity stays
    EXPECT_EQ(List.Capacity(), 12);
    EXPECT_EQ(Notices.Changing, 2);
    List.Clear();
    EXPECT_EQ(List.Capacity(), 0);
    List.Clear(); // an empty list: nothing
    EXPECT_EQ(Notices.Changing, 3);
    EXPECT_EQ(Notices.Changed, 3);
}

TEST(CvWideStringList, IndexErrorsChangeNothing) {
    struct TCase {
        const char* Name;
        std::function<void(TCvWideStringList&)> Call;
        int Index;
    };
    const TCase Cases[] = {
        {"Insert past Count", [](TCvWideStringList& L) { L.Insert(3, L"x"); }, 3},
        {"Strings", [](TCvWideStringList& L) { L.Strings(2); }, 2},
        {"Objects", [](TCvWideStringList& L) { L.Objects(-1); }, -1},
        {"SetStrings", [](TCvWideStringList& L) { L.SetStrings(5, L"x"); }, 5},
        {"SetObjects", [](TCvWideStringList& L) { L.SetObjects(2, nullptr); }, 2},
        {"Delete", [](TCvWideStringList& L) { L.Delete(2); }, 2},
        {"Exchange first", [](TCvWideStringList& L) { L.Exchange(7, 9); }, 7},
        {"Exchange second", [](TCvWideStringList& L) { L.Exchange(0, 9); }, 9},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TCvWideStringList List;
        List.Add(L"a");
        List.Add(L"b");
        TNotices Notices;
        Notices.Watch(List);
        try {
            Case.Call(List);
            ADD_FAILURE() << "no error";
        } catch (const EStringListError& E) {
            EXPECT_EQ(E.Message(), Format(L"List index out of bounds (%d)", {Case.Index}));
        }
        EXPECT_EQ(Lines(List), (std::vector<String>{L"a", L"b"}));
        EXPECT_EQ(Notices.Changing + Notices.Changed, 0);
    }
}

TEST(CvWideStringList, SearchesOrdinally) {
    TCvWideStringList List;
    List.SetText(L"ABC\r\nabc\r\nkey=1\r\nKey=1=2\r\nKey=3\r\nplain");
    EXPECT_EQ(List.IndexOf(L"abc"), 1);
    EXPECT_EQ(List.IndexOf(L"Abc"), -1);
    EXPECT_EQ(List.IndexOfName(L"Key"), 3);
    EXPECT_EQ(List.IndexOfName(L"plain"), -1);
    EXPECT_EQ(List.Values(L"Key"), L"1=2");
    EXPECT_EQ(List.Values(L"KEY"), L"");

    TCvWideStringList Same;
    Same.Assign(List);
    EXPECT_TRUE(Same.Equals(List));
    Same.SetStrings(0, L"abc");
    EXPECT_FALSE(Same.Equals(List));
}

TEST(CvWideStringList, TextJoinsAndSplits) {
    struct TCase {
        const wchar_t* Text;
        size_t Length;
        std::vector<String> Lines;
    };
    const TCase Cases[] = {
        {L"A\r\nB", 4, {L"A", L"B"}},
        {L"A\r\rB", 4, {L"A", L"", L"B"}},
        {L"A\nB\r\n", 5, {L"A", L"B"}},
        {L"A\n\nB", 4, {L"A", L"", L"B"}},
        {L"A\0B", 3, {L"A"}}, // the text ends at a zero unit
        {L"", 0, {}},
        {L"\r\n", 2, {L""}},
    };
    for (const TCase& Case : Cases) {
        TCvWideStringList List;
        List.SetText(String(Case.Text, Case.Length));
        EXPECT_EQ(Lines(List), Case.Lines) << ToUtf8(String(Case.Text, Case.Length));
    }

    TCvWideStringList List;
    List.Add(L"a");
    List.Add(L"b");
    EXPECT_EQ(List.Text(), L"a\r\nb\r\n");
    EXPECT_STREQ(List.TextBuffer().get(), L"a\r\nb\r\n");
    TCvWideStringList Back;
    Back.SetText(List.TextBuffer().get());
    EXPECT_TRUE(Back.Equals(List));
}

TEST(CvWideStringList, LoadsAndSavesByByteOrderMark) {
    struct TCase {
        const char* Name;
        std::string In;
        std::vector<String> Lines;
        bool Unicode;
        std::string Out;
    };
    const std::string Le("\xFF\xFE"
                         "a\0\xE9\0\r\0\n\0b\0",
                         12);
    const TCase Cases[] = {
        {"little-endian", Le, {L"a\u00E9", L"b"}, true, Le + std::string("\r\0\n\0", 4)},
        {"big-endian",
         std::string("\xFE\xFF\0a\x01\x00\0\r\0\n\0b", 12),
         {L"a\u0100", L"b"},
         true,
         std::string("\xFF\xFE"
                     "a\0\0\x01\r\0\n\0b\0\r\0\n\0",
                     16)},
        {"odd last byte",
         std::string("\xFF\xFE"
                     "a\0b",
                     5),
         {L"a"},
         true,
         std::string("\xFF\xFE"
                     "a\0\r\0\n\0",
                     8)},
        {"ansi", "one\r\ntwo", {L"one", L"two"}, false, "one\r\ntwo\r\n"},
        {"one byte", "x", {L"x"}, false, "x\r\n"},
        {"empty", "", {}, false, ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TCvWideStringList List;
        List.SetUnicode(!Case.Unicode);
        TMemoryStream In = StreamOf(Case.In);
        List.LoadFromStream(In);
        EXPECT_EQ(Lines(List), Case.Lines);
        EXPECT_EQ(List.Unicode(), Case.Unicode);
        TMemoryStream Out;
        List.SaveToStream(Out);
        EXPECT_EQ(Bytes(Out), Case.Out);
    }
}

TEST(CvWideStringList, FilesRoundTripAndFailuresCloseTheBracket) {
    TTempFolder Temp;
    const String Name = Temp.Path() + L"list \u00E9.txt";
    WriteBytes(Name, std::string("\xFF\xFE"
                                 "z\0",
                                 4));
    TCvWideStringList List;
    List.LoadFromFile(Name);
    List.Add(L"\u4E2D");
    List.SaveToFile(Name);
    EXPECT_EQ(ReadBytes(Name), std::string("\xFF\xFE"
                                           "z\0\r\0\n\0\x2D\x4E\r\0\n\0",
                                           14));

    TNotices Notices;
    Notices.Watch(List);
    EXPECT_THROW(List.LoadFromFile(Temp.Path() + L"missing.txt"), EFOpenError);
    EXPECT_EQ(List.Count(), 2);
    List.Add(L"x"); // not left inside an update bracket
    EXPECT_EQ(Notices.Changed, 1);
}

TEST(CvWideStringList, SortsWithTheListsOwnQuickSort) {
    TCvWideStringList List;
    List.SetText(L"b\r\nB\r\na\r\n\u00E9\r\nA");
    List.Sort();
    EXPECT_EQ(Lines(List), (std::vector<String>{L"A", L"B", L"a", L"b", L"\u00E9"}));

    // Equal keys come out in the order the partitioning leaves: not stable.
    TTag T1, T2, T3, T4;
    TCvWideStringList Keys;
    Keys.AddObject(L"1", &T1);
    Keys.AddObject(L"0", &T2);
    Keys.AddObject(L"1", &T3);
    Keys.AddObject(L"0", &T4);
    Keys.Sort();
    EXPECT_EQ(Lines(Keys), (std::vector<String>{L"0", L"0", L"1", L"1"}));
    EXPECT_EQ(Keys.Objects(0), &T4);
    EXPECT_EQ(Keys.Objects(1), &T2);
    EXPECT_EQ(Keys.Objects(2), &T1);
    EXPECT_EQ(Keys.Objects(3), &T3);

    TNotices Notices;
    Notices.Watch(Keys);
    Keys.CustomSort([](TCvWideStringList& L, int I, int J) {
        return WideCompareOrdinal(L.StringRef(J), L.StringRef(I));
    });
    EXPECT_EQ(Keys.Strings(0), L"1");
    EXPECT_EQ(Notices.Changing, 1);
    EXPECT_EQ(Notices.Changed, 1);
}

TEST(CvWideStringList, MovesKeepTheirObjects) {
    TTag A, B;
    TCvWideStringList List;
    List.AddObject(L"a", &A);
    List.AddObject(L"b", &B);
    List.Add(L"c");
    TNotices Notices;
    Notices.Watch(List);
    List.Move(0, 2);
    EXPECT_EQ(Lines(List), (std::vector<String>{L"b", L"c", L"a"}));
    EXPECT_EQ(List.Objects(2), &A);
    EXPECT_EQ(Notices.Changing, 1);
    EXPECT_EQ(Notices.Changed, 1);
    List.InsertObject(0, L"z", &B);
    EXPECT_EQ(List.Objects(0), &B);
}

TEST(CvWideStringList, StoredFormRoundTripsAndRefusesOtherTypes) {
    TCvWideStringList List;
    List.Add(L"ab");
    List.Add(L"");
    TMemoryStream M;
    List.WriteStrings(M);
    EXPECT_EQ(Bytes(M), std::string("\x01"
                                    "\x12\x02\0\0\0a\0b\0"
                                    "\x12\0\0\0\0"
                                    "\0",
                                    16));
    M.SetPosition(0);
    TCvWideStringList Back;
    Back.Add(L"old");
    Back.ReadStrings(M);
    EXPECT_TRUE(Back.Equals(List));

    // Narrow entries (high bit of the type ignored) are read too.
    TMemoryStream Narrow = StreamOf(std::string("\x01\x86\x02hi\x0C\x03\0\0\0abc\0", 14));
    Back.ReadStrings(Narrow);
    EXPECT_EQ(Lines(Back), (std::vector<String>{L"hi", L"abc"}));

    // Another type stops the read; what came before it stays.
    TMemoryStream Bad = StreamOf(std::string("\x01\x06\x01x\x02\x05", 6));
    TNotices Notices;
    Notices.Watch(Back);
    try {
        Back.ReadStrings(Bad);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), L"Error while reading wide strings list");
    }
    EXPECT_EQ(Lines(Back), (std::vector<String>{L"x"}));
    EXPECT_EQ(Notices.Changed, 1);

    TMemoryStream Short = StreamOf(std::string("\x01\x12\xFF\xFF\xFF\x7F"
                                               "a\0",
                                               8));
    EXPECT_THROW(Back.ReadStrings(Short), EReadError);
    EXPECT_EQ(Back.Count(), 0);
}

TEST(CvWideStringList, AssignsToAndFromTheClassLibrarysList) {
    TTag A;
    TStringList Narrow;
    Narrow.AddObject(L"one\r\ntwo", &A); // a line break inside an entry stays inside it
    Narrow.Add(L"\u4E2D");
    TCvWideStringList Wide;
    Wide.Assign(Narrow);
    EXPECT_EQ(Lines(Wide), (std::vector<String>{L"one\r\ntwo", L"\u4E2D"}));
    EXPECT_EQ(Wide.Objects(0), &A);

    Wide.Add(L"x");
    TStringList Back;
    Back.Add(L"gone");
    Wide.AssignTo(Back);
    ASSERT_EQ(Back.Count(), 3);
    EXPECT_EQ(Back.Strings(2), L"x");
    EXPECT_EQ(Back.Objects(0), &A);

    Wide.Assign(Wide);
    EXPECT_EQ(Wide.Count(), 3);
    EXPECT_THROW(Wide.Assign(TPersistent()), EConvertError);
}
