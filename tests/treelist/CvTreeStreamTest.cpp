#include "tests/treelist/TreeTestSupport.h"

#include "classlib/rtl/Classes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Builds stream bytes field by field, little-endian.
struct TBytes {
    std::vector<unsigned char> B;
    TBytes& I32(std::int32_t V) {
        for (int I = 0; I < 4; ++I)
            B.push_back(static_cast<unsigned char>(static_cast<std::uint32_t>(V) >> (8 * I)));
        return *this;
    }
    TBytes& U8(unsigned V) {
        B.push_back(static_cast<unsigned char>(V));
        return *this;
    }
    TBytes& Ansi(const std::string& S) {
        I32(static_cast<std::int32_t>(S.size()));
        B.insert(B.end(), S.begin(), S.end());
        return *this;
    }
    TBytes& Raw(size_t N, std::initializer_list<std::pair<size_t, unsigned>> Set) {
        const size_t At = B.size();
        B.insert(B.end(), N, 0);
        for (const auto& [Offset, Value] : Set)
            B[At + Offset] = static_cast<unsigned char>(Value);
        return *this;
    }
    TBytes& Zeros(size_t N) {
        B.insert(B.end(), N, 0);
        return *this;
    }
    // A 128-byte record with State, images -1, Flags, Tag and overlays -1.
    TBytes& Record(std::uint16_t State, std::uint32_t Flags, std::int32_t Tag) {
        U8(State & 0xFF).U8(State >> 8).Zeros(2);
        I32(-1).I32(-1).I32(-1).I32(-1);
        I32(static_cast<std::int32_t>(Flags)).Zeros(4);
        Zeros(12 + 4 + 4 + 4 + 4 + 4);
        I32(Tag);
        U8(0xFF).U8(0).U8(0xFF);
        return Zeros(61);
    }
    // A whole -13 item: text, record, empty hint, no column texts, no styles; children follow.
    TBytes& Item(const std::string& Text, std::uint16_t State, std::int32_t Tag, int Children) {
        I32(-13).Ansi(Text).Record(State, 0x128783, Tag);
        I32(-1).I32(0).I32(0).U8(0);
        return I32(Children);
    }
    TMemoryStream Stream() const {
        TMemoryStream M;
        M.WriteBuffer(B.data(), static_cast<std::int64_t>(B.size()));
        M.SetPosition(0);
        return M;
    }
};

const std::vector<std::pair<std::string, int>> Categories = {
    {"Explorer", 0}, {"Interface", 1},         {"Mouse", 3},         {"Start Menu", 4},
    {"System", 5},   {"Boot Menu (Win9x)", 7}, {"Win NT/2000/XP", 8}};

TBytes CategoryList() {
    TBytes G;
    G.Item("", 0x0080, 0, static_cast<int>(Categories.size()));
    for (const auto& [Text, Tag] : Categories)
        G.Item(Text, 0, Tag, 0);
    return G;
}

std::vector<unsigned char> Bytes(TMemoryStream& M) {
    const auto* P = static_cast<const unsigned char*>(M.Memory());
    return {P, P + M.Size()};
}

TEST(CvTreeStream, CategoryListIsWrittenByteExactAfterPainting) {
    const TBytes Golden = CategoryList();
    ASSERT_EQ(Golden.B.size(), 1293u);
    TTestTree T;
    for (const auto& [Text, Tag] : Categories)
        T.Items().AddChild(nullptr, std::wstring(Text.begin(), Text.end()))->Tag = Tag;
    // Marks a painter or a running sort leave behind are not part of the stored flags.
    TCvTreeItem* First = T.Items().ItemAtIndex(0);
    First->SetFlag(ifImageDrawn, true);
    First->SetFlag(ifImage2Drawn, true);
    First->SetFlag(ifSorting, true);
    T.SetFocusedItem(First); // focused and selected: neither is stored
    ASSERT_TRUE(First->IsSelected());
    TMemoryStream Out;
    T.Items().SaveToStream(Out);
    EXPECT_EQ(Bytes(Out), Golden.B);
}

TEST(CvTreeStream, CategoryListReadsToItsLastByte) {
    TMemoryStream In = CategoryList().Stream();
    TTestTree T;
    T.Items().LoadFromStream(In);
    EXPECT_EQ(In.Position(), 1293);
    ASSERT_EQ(T.Items().TotalCount(), 7);
    EXPECT_TRUE(T.GetRoot()->IsExpanded());
    EXPECT_EQ(T.GetRoot()->Flags(), 0x128783u);
    for (int I = 0; I < 7; ++I) {
        const TCvTreeItem* Item = T.Items().ItemAtIndex(I);
        EXPECT_EQ(Narrow(Item->Text()), Categories[I].first);
        EXPECT_EQ(Item->Tag, Categories[I].second);
        EXPECT_EQ(Item->Level(), 0);
        EXPECT_EQ(Item->GetHint(), L"");
        EXPECT_EQ(Item->ColumnTextList()->Count(), 0);
        EXPECT_EQ(Item->StylesCount(), 0);
        EXPECT_EQ(Item->Flags(), 0x128783u);
    }
    EXPECT_EQ(T.UpdateCount(), 0);
}

TEST(CvTreeStream, RoundTripKeepsWhatIsStoredAndNothingElse) {
    TTestTree T;
    TCvTreeItem* A = T.Items().AddChild(nullptr, L"Alpha");
    A->ColumnTextList()->Add(L"one");
    A->ColumnTextList()->Add(L"");
    A->SetHint(L"hint \u00e9\u4e2d");
    A->SetMainImage(3);
    A->SecondStateImage = 7;
    A->OverlayIndex = 2;
    A->OverlayIndex2 = -5;
    A->Tag = -42;
    A->SetCheckBoxShown(true);
    A->SetCheckBoxType(2);
    A->SetCheckMark(true);
    A->SetState(TCvItemState::Bold, true);
    A->SetFlag(ifUseStyles, true);
    A->MainStyle()->TextColor = 0x123456;
    A->MainStyle()->FontName = L"Tahoma";
    A->AddStyle()->Tag = 9;
    A->SetIsHTML(true);
    A->SetOwnHeight(33);
    TCvTreeItem* Child = T.Items().AddChild(A, L"Child");
    Child->SetHiddenState(true);
    Child->SetMultiline(true);
    A->SetExpanded(true);
    A->SetSelected(true);
    T.Items().AddChild(nullptr, L"Beta");

    TMemoryStream M;
    T.Items().SaveToStream(M);
    M.SetPosition(0);
    TTestTree R;
    R.Items().LoadFromStream(M);
    EXPECT_EQ(M.Position(), M.Size());

    EXPECT_EQ(FlatShape(R), "Alpha -Child Beta");
    TCvTreeItem* RA = R.Find(L"Alpha");
    EXPECT_EQ(RA->ColumnTextList()->Items(), (std::vector<std::wstring>{L"one", L""}));
    EXPECT_EQ(RA->GetHint(), L"hint \u00e9\u4e2d");
    EXPECT_EQ(RA->MainImage(), 3);
    EXPECT_EQ(RA->SecondStateImage, 7);
    EXPECT_EQ(RA->OverlayIndex, 2);
    EXPECT_EQ(RA->OverlayIndex2, -5);
    EXPECT_EQ(RA->Tag, -42);
    EXPECT_TRUE(RA->IsChecked());
    EXPECT_EQ(RA->CheckBoxType(), 2);
    EXPECT_TRUE(RA->HasState(TCvItemState::Bold));
    EXPECT_TRUE(RA->IsExpanded());
    EXPECT_FALSE(RA->IsSelected());
    EXPECT_TRUE(RA->IsHTML());
    EXPECT_TRUE(RA->HasFlag(ifHintIsHTML));
    EXPECT_EQ(RA->OwnHeight(), 33);
    EXPECT_EQ(RA->MainStyle()->TextColor, 0x123456);
    EXPECT_EQ(RA->MainStyle()->FontName, L"Tahoma");
    ASSERT_EQ(RA->StylesCount(), 1);
    EXPECT_EQ(RA->GetStyle(0)->Tag, 9);
    EXPECT_EQ(RA->Flags(), A->Flags());
    EXPECT_EQ(R.Find(L"Child")->Flags(), Child->Flags());
    // The counts follow what was read.
    EXPECT_EQ(R.HiddenCount(), 1);
    EXPECT_EQ(R.TotalVarHeightCount(), T.TotalVarHeightCount());
    EXPECT_EQ(R.TotalVarHeightCount(), 2);
}

TEST(CvTreeStream, ItemAndStyleHandlersWriteAndReadTheirOwnBytes) {
    TTestTree T;
    TCvTreeItem* A = T.Items().AddChild(nullptr, L"A");
    A->SetFlag(ifUseStyles, true);
    A->AddStyle();
    int StylesSaved = 0;
    T.OnCellStyleSave = [&](TCvTreeCore*, TStream& S, TCvCellStyle*) {
        ++StylesSaved;
        S.WriteBuffer("s", 1);
    };
    T.OnItemSave = [](TCvTreeCore*, TStream& S, TCvTreeItem* Item) {
        const std::int32_t V = Item->Tag + 100;
        S.WriteBuffer(&V, 4);
    };
    A->Tag = 5;
    TMemoryStream M;
    T.Items().SaveToStream(M);
    EXPECT_EQ(StylesSaved, 2);

    TTestTree R;
    int StylesLoaded = 0;
    std::vector<std::int32_t> Loaded;
    R.OnCellStyleLoad = [&](TCvTreeCore*, TStream& S, TCvCellStyle*) {
        char C;
        S.ReadBuffer(&C, 1);
        StylesLoaded += C == 's';
    };
    R.OnItemLoad = [&](TCvTreeCore*, TStream& S, TCvTreeItem*) {
        std::int32_t V;
        S.ReadBuffer(&V, 4);
        Loaded.push_back(V);
    };
    M.SetPosition(0);
    R.Items().LoadFromStream(M);
    EXPECT_EQ(StylesLoaded, 2);
    EXPECT_EQ(Loaded, (std::vector<std::int32_t>{100, 105}));
    EXPECT_EQ(M.Position(), M.Size());

    // Without the load handler the custom bytes can't be placed: a damaged stream, not a misread.
    TTestTree NoHandler;
    M.SetPosition(0);
    EXPECT_THROW(NoHandler.Items().LoadFromStream(M), EReadError);
    EXPECT_EQ(NoHandler.UpdateCount(), 0);
}

TEST(CvTreeStream, LegacyRecordsOfEveryVersion) {
    // -8: 52-byte record + UseBkColor byte, ANSI hint; the root first.
    TBytes V8;
    V8.I32(-13).Ansi("").Record(0x80, 0x128783, 0).I32(-1).I32(0).I32(0).U8(0).I32(3);
    // Old records, written as offset/value pairs on zeros.
    V8.I32(-8).Ansi("old");
    V8.Raw(52, {{0, 0x80 | 0x20}, // Expanded, Bold
                {4, 4},           // MainImage
                {8, 0xFF},
                {9, 0xFF},
                {10, 0xFF},
                {11, 0xFF},
                {12, 1},    // ForceButtons
                {16, 0x11}, // Color
                {20, 0x22}, // BkColor
                {26, 1},    // CheckBoxEnabled
                {27, 1},    // CheckBoxState
                {28, 1},    // ShowCheckBox
                {32, 6},    // SecondImage
                {40, 1},    // Enabled
                {41, 1},    // Hidden
                {43, 1},    // OwnerHeight
                {44, 21}}); // own height
    V8.U8(1).I32(-1).Ansi("tip").I32(1).Ansi("col").U8(0).I32(0);
    // -10: 60-byte record.
    V8.I32(-10).Ansi("ten");
    V8.Raw(60, {{20, 0x33}, // RowBkColor
                {24, 0x44}, // BkColor
                {28, 1},    // ParentColors
                {33, 2},    // CheckBoxType
                {44, 1},    // Enabled
                {47, 1},    // Multiline
                {48, 1},    // OwnerHeight
                {52, 19}}); // own height
    V8.U8(0).I32(2).Ansi("a").Ansi("b").U8(0).I32(0);
    // Version 0: no marker, no record, no style byte.
    V8.Ansi("zero").I32(-1).Ansi("h0").I32(0).I32(0);

    TMemoryStream M = V8.Stream();
    TTestTree T;
    T.Items().LoadFromStream(M);
    EXPECT_EQ(M.Position(), M.Size());
    ASSERT_EQ(FlatShape(T), "old ten zero");

    TCvTreeItem* Old = T.Find(L"old");
    EXPECT_TRUE(Old->IsExpanded());
    EXPECT_TRUE(Old->HasState(TCvItemState::Bold));
    EXPECT_EQ(Old->MainImage(), 4);
    EXPECT_EQ(Old->MainStateImage, -1);
    EXPECT_EQ(Old->SecondImage(), 6);
    EXPECT_TRUE(Old->HasFlag(ifForceButtons));
    EXPECT_EQ(Old->Color, 0x11);
    EXPECT_EQ(Old->BkColor, 0x22);
    EXPECT_FALSE(Old->HasFlag(ifParentColors));
    EXPECT_TRUE(Old->IsChecked());
    EXPECT_TRUE(Old->CheckBoxShown());
    EXPECT_TRUE(Old->IsHiddenState());
    EXPECT_EQ(Old->OwnHeight(), 21);
    EXPECT_TRUE(Old->HasFlag(ifUseBkColor));
    EXPECT_EQ(Old->GetHint(), L"tip");
    EXPECT_EQ(Old->ColumnTextList()->Items(), std::vector<std::wstring>{L"col"});
    EXPECT_EQ(Old->OverlayIndex, -1); // only -13 carries overlays

    TCvTreeItem* Ten = T.Find(L"ten");
    EXPECT_EQ(Ten->RowBkColor(), 0x33);
    EXPECT_EQ(Ten->BkColor, 0x44);
    EXPECT_TRUE(Ten->HasFlag(ifParentColors));
    EXPECT_EQ(Ten->CheckBoxType(), 2);
    EXPECT_TRUE(Ten->HasFlag(ifMultiline));
    EXPECT_FALSE(Ten->HasFlag(ifUseBkColor));
    EXPECT_EQ(Ten->OwnHeight(), 19);
    EXPECT_EQ(Ten->ColumnTextList()->Items(), (std::vector<std::wstring>{L"a", L"b"}));

    TCvTreeItem* Zero = T.Find(L"zero");
    EXPECT_EQ(Zero->Flags(), 0x128783u);
    EXPECT_EQ(Zero->GetHint(), L"h0");
    EXPECT_EQ(T.HiddenCount(), 1);
}

TEST(CvTreeStream, DamagedStreamsKeepWhatWasReadAndCloseTheBatch) {
    const TBytes Good = CategoryList();
    struct TCase {
        const char* Name;
        std::vector<unsigned char> Bytes;
        int ItemsKept;
    };
    std::vector<unsigned char> Short(Good.B.begin(), Good.B.begin() + 153 + 161 + 40);
    TBytes Negative;
    Negative.Item("", 0x80, 0, 2).Item("kept", 0, 0, 0).I32(-13).I32(-5);
    // A count far beyond the stream's end fails without reserving that much.
    TBytes Huge;
    Huge.Item("", 0x80, 0, 2).Item("kept", 0, 0, 0).I32(-13).I32(0x7FFFFFF0).I32(0);
    TBytes NegativeColumns;
    NegativeColumns.Item("", 0x80, 0, 2)
        .Item("kept", 0, 0, 0)
        .I32(-13)
        .Ansi("x")
        .Record(0, 0x128783, 0)
        .I32(-1)
        .I32(0)
        .I32(-2);
    // A negative hint length fails that string alone; the reading goes on.
    TBytes BadHint;
    BadHint.Item("", 0x80, 0, 1)
        .I32(-13)
        .Ansi("x")
        .Record(0, 0x128783, 0)
        .I32(-1)
        .I32(-7)
        .I32(0)
        .U8(0)
        .I32(0);
    for (const TCase& C :
         {TCase{"short", Short, 1}, TCase{"negative text", Negative.B, 1},
          TCase{"huge text", Huge.B, 1}, TCase{"negative columns", NegativeColumns.B, 1}}) {
        TMemoryStream M;
        M.WriteBuffer(C.Bytes.data(), static_cast<std::int64_t>(C.Bytes.size()));
        M.SetPosition(0);
        TTestTree T;
        EXPECT_THROW(T.Items().LoadFromStream(M), EReadError) << C.Name;
        EXPECT_EQ(T.Items().TotalCount(), C.ItemsKept) << C.Name;
        EXPECT_EQ(T.UpdateCount(), 0) << C.Name;
        T.CountVisibleItems();
        EXPECT_EQ(T.TotalVisCount(), C.ItemsKept) << C.Name;
    }
    TMemoryStream M = BadHint.Stream();
    TTestTree T;
    T.Items().LoadFromStream(M);
    EXPECT_EQ(FlatShape(T), "x");
    EXPECT_EQ(T.Find(L"x")->GetHint(), L"");
    EXPECT_EQ(M.Position(), M.Size());
}

} // namespace
