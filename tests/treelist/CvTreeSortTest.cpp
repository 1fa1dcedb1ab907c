#include "tests/treelist/TreeTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string TopLevel(TCvTreeCore& T) {
    std::string S;
    for (int I = 0; I < T.GetRoot()->ChildrenCount(); ++I) {
        S += (I ? "," : "") + Narrow(T.GetRoot()->GetChild(I)->Text());
    }
    return S;
}

struct TSortCase {
    const char* Name;
    TSortTypes Type;
    std::vector<std::wstring> Texts;
    TSortDirs Dir;
    bool UseCase;
    const char* Order;
};

class CvTreeSortTable : public ::testing::TestWithParam<TSortCase> {};

TEST_P(CvTreeSortTable, Order) {
    const TSortCase& C = GetParam();
    TTestTree T(C.Texts);
    T.SortType = C.Type;
    T.SortDir = C.Dir;
    T.SortUseCase = C.UseCase;
    T.Sort(true);
    EXPECT_EQ(TopLevel(T), C.Order);
    EXPECT_TRUE(IndicesAgree(T));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CvTreeSortTable,
    ::testing::Values(
        // No key first, by identity among themselves (x was made before "").
        TSortCase{"Numbers", stNumber, {L"10", L"9", L"x", L""}, sdAscend, true, "x,,9,10"},
        TSortCase{"NumbersDescending",
                  stNumber,
                  {L"10", L"9", L"x", L"11"},
                  sdDescend,
                  true,
                  "11,10,9,x"},
        TSortCase{"TextWithCase", stText, {L"a", L"B"}, sdAscend, true, "B,a"},
        TSortCase{"TextWithoutCase", stText, {L"a", L"B"}, sdAscend, false, "a,B"},
        // Equal keys keep their identity order.
        TSortCase{"EqualTexts", stText, {L"k", L"j", L"k"}, sdAscend, true, "j,k,k"},
        // Texts that agree in their first eight units are told apart by the rest.
        TSortCase{"LongTextsWithoutCase",
                  stText,
                  {L"abcdefghZ", L"ABCDEFGHa", L"abcdefgh", L"abcdefghy"},
                  sdAscend,
                  false,
                  "abcdefgh,ABCDEFGHa,abcdefghy,abcdefghZ"},
        TSortCase{"LongTextsWithCase",
                  stText,
                  {L"abcdefghZ", L"ABCDEFGHa", L"abcdefgh", L"abcdefghy"},
                  sdAscend,
                  true,
                  "ABCDEFGHa,abcdefgh,abcdefghZ,abcdefghy"},
        TSortCase{"Floating", stFloating, {L"2.5", L"-1", L"10"}, sdAscend, true, "-1,2.5,10"},
        TSortCase{"Boolean", stBoolean, {L"y", L"", L"n"}, sdAscend, true, ",y,n"},
        TSortCase{"SameDay",
                  stDate,
                  {L"3/2/2020 10:00", L"3/1/2020 11:00", L"3/2/2020 09:00"},
                  sdAscend,
                  true,
                  "3/1/2020 11:00,3/2/2020 10:00,3/2/2020 09:00"},
        TSortCase{"TimeIgnoresDate",
                  stTime,
                  {L"3/1/2020 11:00", L"3/5/2019 09:00"},
                  sdAscend,
                  true,
                  "3/5/2019 09:00,3/1/2020 11:00"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// Equal values fall back to the order the items were made in (turned over when descending),
// also when an earlier sort left the list in another order; positions and siblings follow.
TEST(CvTreeSort, EqualValuesKeepIdentityOrderAfterAnotherSort) {
    TTestTree T({L"2", L"+1", L" 2", L"1", L"x"});
    auto Siblings = [&T] {
        std::string S;
        int Index = 0;
        for (TCvTreeItem* I = T.GetRoot()->GetFirstChild(); I; I = I->GetNextSibling()) {
            S += (Index ? "," : "") + Narrow(I->Text());
            if (I->IndexInParent() != Index++)
                return std::string("index of ") + Narrow(I->Text());
        }
        return S;
    };
    T.SortType = stText;
    T.SortDir = sdDescend;
    T.Sort(true);
    EXPECT_EQ(Siblings(), "x,2,1,+1, 2");
    struct TStep {
        TSortDirs Dir;
        const char* Order;
    };
    for (const TStep& Step : {TStep{sdAscend, "x,+1,1,2, 2"}, TStep{sdDescend, " 2,2,1,+1,x"}}) {
        T.SortType = stNumber;
        T.SortDir = Step.Dir;
        T.Sort(true);
        EXPECT_EQ(TopLevel(T), Step.Order);
        EXPECT_EQ(Siblings(), Step.Order);
        EXPECT_TRUE(IndicesAgree(T));
    }
}

TEST(CvTreeSort, CustomComparisonIsNegatedWhenDescending) {
    TTestTree T({L"bb", L"a", L"ccc"});
    T.SortType = stCustom;
    T.OnCompareItems = [](TCvTreeCore*, TCvTreeItem* A, TCvTreeItem* B, int& Res) {
        Res = static_cast<int>(A->Text().size()) - static_cast<int>(B->Text().size());
    };
    T.Sort(false);
    EXPECT_EQ(TopLevel(T), "a,bb,ccc");
    T.SortDir = sdDescend;
    T.Sort(false);
    EXPECT_EQ(TopLevel(T), "ccc,bb,a");
    // A handler that answers 0 still gives a fixed order.
    T.OnCompareItems = [](TCvTreeCore*, TCvTreeItem*, TCvTreeItem*, int&) {};
    T.SortDir = sdAscend;
    T.Sort(false);
    EXPECT_EQ(TopLevel(T), "bb,a,ccc");
}

TEST(CvTreeSort, TieBreakerSectionsFollowTheirOwnMarks) {
    TTestTree T;
    TFakeHeader H;
    H.Types = {sftText, sftNumber};
    H.Marks = {hsmAscend, hsmNone};
    T.SetHeader(&H);
    T.SetShowColumns(true);
    T.SetSortSection(0);
    for (auto [Main, Col] : {std::pair{L"b", L"2"}, {L"a", L"5"}, {L"b", L"10"}, {L"a", L"1"}}) {
        TCvTreeItem* I = T.Items().AddChild(nullptr, Main);
        I->ColumnTextList()->Add(Col);
    }
    auto Order = [&] {
        std::string S;
        for (int I = 0; I < T.Items().TotalCount(); ++I) {
            const TCvTreeItem* Item = T.Items().ItemAtIndex(I);
            S += Narrow(Item->Text()) + Narrow(Item->CellText(1)) + " ";
        }
        return S;
    };
    T.AddSortSection(1, true);
    EXPECT_EQ(Order(), "a1 a5 b2 b10 ");
    H.Marks[1] = hsmDescend;
    T.Sort(true);
    EXPECT_EQ(Order(), "a5 a1 b10 b2 ");
    H.Marks[0] = hsmDescend;
    T.Sort(true);
    EXPECT_EQ(Order(), "b10 b2 a5 a1 ");
    T.SetSortSection(1); // a new sort section clears the tie-breakers
    EXPECT_TRUE(T.SortSections().empty());
}

TEST(CvTreeSort, EveryLevelAndTheFlatListFollow) {
    TTestTree T({L"b", L"\tb2", L"\tb1", L"a", L"\ta2", L"\t\tz", L"\t\ty", L"\ta1"});
    T.Sort(false);
    EXPECT_EQ(FlatShape(T), "a -a2 --z --y -a1 b -b2 -b1");
    T.Sort(true);
    EXPECT_EQ(FlatShape(T), "a -a1 -a2 --y --z b -b1 -b2");
    EXPECT_TRUE(IndicesAgree(T));
    // One child: not sorted unless recursive.
    TTestTree One({L"p", L"\tc", L"\t\tz", L"\t\ty"});
    One.Find(L"p")->SortChildren(false);
    EXPECT_EQ(FlatShape(One), "p -c --z --y");
    One.Find(L"p")->SortChildren(true);
    EXPECT_EQ(FlatShape(One), "p -c --y --z");
}

TEST(CvTreeSort, AVirtualTreeSortsByTheValuesItIsAskedFor) {
    TTestTree T({L"", L"", L""});
    T.SetVirtualityLevel(vlTextAndStyles);
    T.SortType = stNumber;
    T.OnVirtualValueNeeded = [](TCvTreeCore* S, TCvTreeItem* Item, int, int VarType,
                                TCvVariant& V) {
        EXPECT_EQ(VarType, 0);
        V = static_cast<std::int32_t>(10 - S->Items().AbsIndexOf(Item) * 3 + (Item->Tag ? 100 : 0));
    };
    T.Items().ItemAtIndex(0)->Tag = 1;
    T.Sort(false);
    EXPECT_EQ(T.Items().ItemAtIndex(2)->Tag, 1);
    EXPECT_EQ(T.Items().ItemAtIndex(0)->Text(), L"");
}

} // namespace
