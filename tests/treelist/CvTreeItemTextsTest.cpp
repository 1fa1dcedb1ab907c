#include "treelist/CvTreeError.h"
#include "treelist/CvTreeItemTexts.h"

#include "tests/treelist/TreeTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::string Shape(const TCvPackedTexts& T) {
    std::string S = Narrow(T.Main());
    for (int I = 0; I < T.ColumnCount(); ++I)
        S += "|" + Narrow(T.Column(I));
    return S;
}

// Each change rebuilds the one block; a text taken from the block itself must survive that.
TEST(CvPackedTexts, ChangesKeepEveryOtherEntry) {
    struct TCase {
        const char* Name;
        std::function<void(TCvPackedTexts&)> Change;
        const char* Shape;
    };
    const TCase Cases[] = {
        {"main only", [](TCvPackedTexts& T) { T.SetMain(L"longer main text"); },
         "longer main text|one||three"},
        {"main emptied", [](TCvPackedTexts& T) { T.SetMain(L""); }, "|one||three"},
        {"column set", [](TCvPackedTexts& T) { T.SetColumn(1, L"two"); }, "main|one|two|three"},
        {"insert first", [](TCvPackedTexts& T) { T.InsertColumn(0, L"zero"); },
         "main|zero|one||three"},
        {"insert last", [](TCvPackedTexts& T) { T.InsertColumn(3, L"four"); },
         "main|one||three|four"},
        {"delete middle", [](TCvPackedTexts& T) { T.DeleteColumn(1); }, "main|one|three"},
        {"delete last", [](TCvPackedTexts& T) { T.DeleteColumn(2); }, "main|one|"},
        {"replace all",
         [](TCvPackedTexts& T) {
             T.SetColumns({L"x", L"y"});
         },
         "main|x|y"},
        {"clear columns", [](TCvPackedTexts& T) { T.SetColumns({}); }, "main"},
        {"main from own column", [](TCvPackedTexts& T) { T.SetMain(T.Column(2)); },
         "three|one||three"},
        {"column from own main", [](TCvPackedTexts& T) { T.InsertColumn(0, T.Main()); },
         "main|main|one||three"},
        {"column from itself", [](TCvPackedTexts& T) { T.SetColumn(0, T.Column(0).substr(1)); },
         "main|ne||three"},
    };
    for (const TCase& C : Cases) {
        TCvPackedTexts T = TCvPackedTexts::MakeEmpty();
        T.SetMain(L"main");
        T.SetColumns({L"one", L"", L"three"});
        C.Change(T);
        EXPECT_EQ(Shape(T), C.Shape) << C.Name;
        EXPECT_TRUE(T) << C.Name;
    }
}

TEST(CvPackedTexts, AbsentAndEmptyDiffer) {
    const TCvPackedTexts Absent;
    EXPECT_FALSE(Absent);
    EXPECT_EQ(Absent.Main(), L"");
    EXPECT_EQ(Absent.ColumnCount(), 0);
    const TCvPackedTexts Empty = TCvPackedTexts::MakeEmpty();
    EXPECT_TRUE(Empty);
    EXPECT_EQ(Empty.Main(), L"");
    EXPECT_EQ(Empty.ColumnCount(), 0);
    EXPECT_TRUE(Empty.Columns().empty());
}

TEST(CvTreeItemColumnTexts, BadIndicesThrowAndChangeNothing) {
    TTestTree T({L"a"});
    TCvTreeItem* A = T.Find(L"a");
    A->ColumnTextList()->Assign({L"x", L"y"});
    int Changes = 0;
    T.OnItemChange = [&](TCvTreeCore*, TCvTreeItem*, TItemChangeMode) { ++Changes; };
    auto Cols = A->ColumnTextList();
    EXPECT_THROW(Cols->Strings(2), EStringListError);
    EXPECT_THROW(Cols->Strings(-1), EStringListError);
    EXPECT_THROW(Cols->SetStrings(2, L"z"), EStringListError);
    EXPECT_THROW(Cols->Delete(2), EStringListError);
    EXPECT_THROW(Cols->Insert(3, L"z"), EStringListError);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Cols->Items(), (std::vector<std::wstring>{L"x", L"y"}));
    EXPECT_EQ(A->Text(), L"a");
    Cols->Insert(2, L"z"); // at the end is allowed
    Cols->Clear();
    Cols->Clear(); // nothing left: no report
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Cols->Count(), 0);
}

// A virtual tree's items keep no texts; what the program hung on an item is not lost with them.
TEST(CvTreeItemColumnTexts, GoingVirtualDropsTextsButKeepsTheDataInterface) {
    TTestTree T({L"a"});
    TCvTreeItem* A = T.Find(L"a");
    A->ColumnTextList()->Add(L"col");
    A->SetHint(L"hint");
    const auto Payload = std::make_shared<int>(42);
    A->SetDataInterface(Payload);
    T.SetVirtualityLevel(vlTextAndStyles);
    EXPECT_FALSE(A->ColumnTextList());
    EXPECT_FALSE(A->HasStaticData());
    EXPECT_EQ(A->Text(), L"");
    EXPECT_EQ(A->DataInterface(), Payload);
    T.SetVirtualityLevel(vlNone);
    ASSERT_TRUE(A->ColumnTextList());
    EXPECT_EQ(A->ColumnTextList()->Count(), 0);
    EXPECT_EQ(A->GetHint(), L"");
    EXPECT_EQ(A->DataInterface(), Payload);
}

} // namespace
