#include "classlib/rtl/Classes.h"

#include "tests/support/StringLines.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts its own destructions, to check who deletes list objects.
struct TCounted : TObject {
    explicit TCounted(int& Deleted) : FDeleted(Deleted) {}
    ~TCounted() override { ++FDeleted; }
    int& FDeleted;
};

} // namespace

TEST(RtlStringList, AddInsertDeleteAndBadIndices) {
    TStringList L;
    EXPECT_EQ(L.Add(L"b"), 0);
    EXPECT_EQ(L.Add(L"c"), 1);
    L.Insert(0, L"a");
    L.Delete(2);
    EXPECT_EQ(Lines(L), (std::vector<String>{L"a", L"b"}));
    L.SetStrings(1, L"B");
    EXPECT_EQ(L.Strings(1), L"B");

    try {
        L.Strings(2);
        FAIL() << "no exception";
    } catch (const EStringListError& E) {
        EXPECT_EQ(E.Message(), L"List index out of bounds (2)");
    }
    EXPECT_THROW(L.Delete(-1), EStringListError);
    EXPECT_THROW(L.Insert(3, L"x"), EStringListError);
    EXPECT_THROW(L.Objects(5), EStringListError);
    EXPECT_THROW(L.Exchange(0, 2), EStringListError);
    EXPECT_EQ(Lines(L), (std::vector<String>{L"a", L"B"}));
}

TEST(RtlStringList, SortedListsUseLocaleCaseInsensitiveOrder) {
    TStringList L;
    for (const wchar_t* S : {L"banana", L"Apple", L"\u00E9clair", L"apple", L"Zebra", L"cherry"})
        L.Add(S);
    L.Duplicates = dupAccept;
    L.SetSorted(true);
    ASSERT_EQ(L.Count(), 6);
    for (int I = 1; I < L.Count(); ++I)
        EXPECT_LE(AnsiCompareText(L.Strings(I - 1), L.Strings(I)), 0) << I;
    // The accented word sorts among the e's, not after z as an ordinal sort would.
    EXPECT_LT(L.IndexOf(L"\u00E9clair"), L.IndexOf(L"Zebra"));
    // A stable sort keeps equal lines in their order.
    EXPECT_EQ(L.Strings(0), L"Apple");
    EXPECT_EQ(L.Strings(1), L"apple");

    int Index = -1;
    EXPECT_TRUE(L.Find(L"CHERRY", Index));
    EXPECT_EQ(L.Strings(Index), L"cherry");
    EXPECT_FALSE(L.Find(L"date", Index));
    EXPECT_EQ(L.Strings(Index), L"\u00E9clair");
    EXPECT_EQ(L.Add(L"date"), Index);
    EXPECT_THROW(L.Insert(0, L"x"), EStringListError);
    EXPECT_THROW(L.SetStrings(0, L"x"), EStringListError);
}

TEST(RtlStringList, Duplicates) {
    TStringList L;
    L.SetSorted(true);
    EXPECT_EQ(L.Add(L"one"), 0);
    EXPECT_EQ(L.Add(L"ONE"), 0); // dupIgnore: the index of the line already there
    EXPECT_EQ(L.Count(), 1);
    L.Duplicates = dupError;
    EXPECT_THROW(L.Add(L"One"), EStringListError);
    L.Duplicates = dupAccept;
    L.Add(L"One");
    EXPECT_EQ(L.Count(), 2);

    L.SetCaseSensitive(true);
    L.Duplicates = dupError;
    EXPECT_NO_THROW(L.Add(L"oNe"));
    EXPECT_EQ(L.IndexOf(L"ONE"), -1);
}

TEST(RtlStringList, CustomSortSeesAnUnchangedList) {
    TStringList L;
    for (const wchar_t* S : {L"10", L"9", L"100", L"1"})
        L.Add(S);
    L.CustomSort([](TStringList& List, int A, int B) {
        return StrToInt(List.Strings(A)) - StrToInt(List.Strings(B));
    });
    EXPECT_EQ(Lines(L), (std::vector<String>{L"1", L"9", L"10", L"100"}));
    // An inconsistent comparison must not break the list.
    L.CustomSort([](TStringList&, int, int) { return 1; });
    EXPECT_EQ(L.Count(), 4);
}

TEST(RtlStringList, NamesAndValues) {
    TStringList L;
    L.SetText(L"Path=C:\\a=b\r\nEmpty=\r\nNoValue\r\nKey=1");
    EXPECT_EQ(L.Values(L"path"), L"C:\\a=b");
    EXPECT_EQ(L.Names(0), L"Path");
    EXPECT_EQ(L.ValueFromIndex(0), L"C:\\a=b");
    EXPECT_EQ(L.Names(2), L"");
    EXPECT_EQ(L.IndexOfName(L"NoValue"), -1);
    EXPECT_EQ(L.IndexOfName(L"empty"), 1);
    L.SetValue(L"Key", L"2");
    L.SetValue(L"New", L"3");
    L.SetValue(L"Empty", L"");
    EXPECT_EQ(L.Text(), L"Path=C:\\a=b\r\nNoValue\r\nKey=2\r\nNew=3\r\n");
}

TEST(RtlStringList, TextSplitsEveryLineEnd) {
    TStringList L;
    L.SetText(L"a\r\nb\nc\rd\r\n\r\ne");
    EXPECT_EQ(Lines(L), (std::vector<String>{L"a", L"b", L"c", L"d", L"", L"e"}));
    L.SetText(L"x\r\n");
    EXPECT_EQ(L.Count(), 1);
    L.SetText(L"");
    EXPECT_EQ(L.Count(), 0);
    L.SetText(L"\r\n");
    EXPECT_EQ(Lines(L), (std::vector<String>{L""}));
}

TEST(RtlStringList, ExchangeMoveAndAssign) {
    TStringList L;
    L.SetText(L"a\nb\nc\nd");
    L.Move(0, 3);
    EXPECT_EQ(L.Text(), L"b\r\nc\r\nd\r\na\r\n");
    L.Exchange(0, 3);
    EXPECT_EQ(L.Text(), L"a\r\nc\r\nd\r\nb\r\n");
    TStringList Copy;
    Copy.Add(L"old");
    Copy.Assign(L);
    EXPECT_EQ(Copy.Text(), L.Text());
    Copy.Assign(Copy);
    EXPECT_EQ(Copy.Count(), 4);
    EXPECT_THROW(Copy.Assign(TPersistent()), EConvertError);
}

TEST(RtlStringList, ObjectsAreOwnedOnlyWhenAsked) {
    int Deleted = 0;
    {
        TStringList Plain;
        TCounted Kept(Deleted);
        Plain.AddObject(L"x", &Kept);
        EXPECT_EQ(Plain.Objects(0), &Kept);
        EXPECT_EQ(Plain.IndexOfObject(&Kept), 0);
        Plain.Clear();
    }
    EXPECT_EQ(Deleted, 1); // only Kept's own destruction
    Deleted = 0;
    {
        TStringList Owner(true);
        Owner.AddObject(L"a", new TCounted(Deleted));
        Owner.AddObject(L"b", new TCounted(Deleted));
        Owner.AddObject(L"c", new TCounted(Deleted));
        Owner.Delete(0);
        EXPECT_EQ(Deleted, 1);
        Owner.SetObjects(0, new TCounted(Deleted));
        EXPECT_EQ(Deleted, 2);
    }
    EXPECT_EQ(Deleted, 4);
}

TEST(RtlStringList, ChangeEventsAreBatchedByUpdates) {
    TStringList L;
    int Changes = 0;
    L.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &L);
        ++Changes;
    };
    L.Add(L"a");
    EXPECT_EQ(Changes, 1);
    L.BeginUpdate();
    L.Add(L"b");
    L.Add(L"c");
    L.Delete(0);
    EXPECT_EQ(Changes, 1);
    L.EndUpdate();
    EXPECT_EQ(Changes, 2);
    L.SetText(L"1\n2\n3");
    EXPECT_EQ(Changes, 3);
}

TEST(RtlStringList, FailedBatchReportsItsOwnErrorOverAThrowingListener) {
    TStringList Source;
    Source.SetText(L"a\nb\na");
    TStringList L;
    L.SetSorted(true);
    L.Duplicates = dupError;
    L.OnChange = [](TObject*) { throw Exception(L"listener failed"); };
    EXPECT_THROW(L.AddStrings(Source), EStringListError);
    // The batch is closed: the next change is heard again.
    EXPECT_THROW(L.Add(L"c"), Exception);
    EXPECT_EQ(L.Count(), 3);
}

TEST(RtlStringList, SaveWritesUtf8WithCrlf) {
    TTempFolder Temp;
    TStringList L;
    L.Add(L"[12:00:00]Gr\u00FC\u00DFe");
    L.Add(L"\u65E5\u672C");
    L.SaveToFile(Temp.Path() + L"log.txt");
    EXPECT_EQ(Temp.Read(L"log.txt"), "[12:00:00]Gr\xC3\xBC\xC3\x9F"
                                     "e\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\n");
    // Saving again replaces the file.
    L.Delete(1);
    L.SaveToFile(Temp.Path() + L"log.txt");
    EXPECT_EQ(Temp.Read(L"log.txt"), "[12:00:00]Gr\xC3\xBC\xC3\x9F"
                                     "e\r\n");
}

TEST(RtlStringList, LoadDetectsTheEncoding) {
    TTempFolder Temp;
    struct TCase {
        const char* Name;
        std::string Bytes;
    };
    const TCase Cases[] = {
        {"utf16le.txt", std::string("\xFF\xFE"
                                    "a\0\xE9\0\r\0\n\0b\0",
                                    12)},
        {"utf16be.txt", std::string("\xFE\xFF\0a\0\xE9\0\r\0\n\0b", 12)},
        {"utf8bom.txt", "\xEF\xBB\xBF"
                        "a\xC3\xA9\r\nb"},
        {"utf8.txt", "a\xC3\xA9\nb"},
        {"ansi.txt", "a\xE9\r\nb"},
    };
    for (const TCase& C : Cases) {
        const String File = Temp.AddFile(FromUtf8(C.Name), C.Bytes);
        TStringList L;
        L.LoadFromFile(File);
        EXPECT_EQ(Lines(L), (std::vector<String>{L"a\u00E9", L"b"})) << C.Name;
    }
}

TEST(RtlStringList, LoadErrorsLeaveTheListAlone) {
    TTempFolder Temp;
    TStringList L;
    L.Add(L"keep");
    EXPECT_THROW(L.LoadFromFile(Temp.Path() + L"missing.txt"), EFOpenError);
    EXPECT_THROW(L.LoadFromFile(Temp.Path()), EFOpenError);
    EXPECT_EQ(Lines(L), (std::vector<String>{L"keep"}));
    EXPECT_THROW(L.SaveToFile(Temp.Path() + L"no\\such\\folder\\x.txt"), EFCreateError);
}
