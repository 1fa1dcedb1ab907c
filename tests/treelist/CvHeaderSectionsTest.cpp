// Header sections: numbering, notices, the width and visibility rules, and the "Data" stream.
#include "treelist/CvHeader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<unsigned char>;

// Bytes of a stream built by hand: little-endian integers, and records with fields at offsets.
struct TByteWriter {
    TBytes Bytes;
    void Int(std::int32_t V) {
        for (int I = 0; I < 4; ++I)
            Bytes.push_back(
                static_cast<unsigned char>((static_cast<std::uint32_t>(V) >> (8 * I)) & 0xFF));
    }
    void Raw(const std::string& S) { Bytes.insert(Bytes.end(), S.begin(), S.end()); }
    void Wide(const std::wstring& S) {
        Int(static_cast<std::int32_t>(S.size()));
        for (const wchar_t C : S) {
            Bytes.push_back(static_cast<unsigned char>(C & 0xFF));
            Bytes.push_back(static_cast<unsigned char>(C >> 8));
        }
    }
    void Narrow(const std::string& S) {
        Int(static_cast<std::int32_t>(S.size()));
        Raw(S);
    }
    void Terminated(const std::string& S) {
        Int(static_cast<std::int32_t>(S.size() + 1));
        Raw(S);
        Bytes.push_back(0);
    }
};

struct TRecordBytes {
    TBytes Bytes;
    explicit TRecordBytes(int Size) : Bytes(static_cast<std::size_t>(Size), 0xCD) {}
    void Byte(int At, int V) {
        Bytes[static_cast<std::size_t>(At)] = static_cast<unsigned char>(V);
    }
    void Int(int At, std::int32_t V) { std::memcpy(&Bytes[static_cast<std::size_t>(At)], &V, 4); }
};

TBytes Saved(const TCvHeaderSections& Sections) {
    TMemoryStream Stream;
    Sections.SaveToStream(Stream);
    const auto* Data = static_cast<const unsigned char*>(Stream.Memory());
    return TBytes(Data, Data + Stream.Size());
}

void Load(TCvHeaderSections& Sections, const TBytes& Bytes) {
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.SetPosition(0);
    Sections.LoadFromStream(Stream);
}

std::vector<int> Widths(const TCvHeaderSections& Sections) {
    std::vector<int> W;
    for (int I = 0; I < Sections.SectionCount(); ++I)
        W.push_back(Sections.ItemAt(I)->Width());
    return W;
}

int VisibleSum(const TCvHeaderSections& Sections) {
    int Sum = 0;
    for (int I = 0; I < Sections.SectionCount(); ++I)
        if (Sections.ItemAt(I)->Visible())
            Sum += Sections.ItemAt(I)->Width();
    return Sum;
}

TCvHeaderSection* Add(TCustomCvHeader& Header, const wchar_t* Text, int Width) {
    TCvHeaderSection* S = Header.Sections().AppendSection();
    S->SetText(Text);
    S->SetWidth(Width);
    return S;
}

} // namespace

TEST(CvHeaderSections, NewSectionsTakeTheSmallestFreeNumberAndDeletionRenumbers) {
    TCvHeader Header(nullptr);
    TCvHeaderSections& All = Header.Sections();
    for (int I = 0; I < 3; ++I)
        All.AppendSection();
    EXPECT_EQ(All.ItemAt(0)->Width(), 120); // the header's DefaultWidth
    All.DeleteSection(All.ItemAt(1));
    EXPECT_EQ(All.ItemAt(0)->SectionIndex(), 0);
    EXPECT_EQ(All.ItemAt(1)->SectionIndex(), 1);
    EXPECT_EQ(All.AppendSection()->SectionIndex(), 2);
    EXPECT_EQ(All.ItemByIndex(2), All.ItemAt(2));
    EXPECT_EQ(All.ItemByIndex(7), nullptr);
    // Ids come from a counter: distinct, and findable.
    EXPECT_NE(All.ItemAt(0)->SectionId(), All.ItemAt(1)->SectionId());
    EXPECT_EQ(All.FindById(All.ItemAt(2)->SectionId()), All.ItemAt(2));
}

TEST(CvHeaderSections, NoticesCollectUnderTheLockAndBadRequestsRaise) {
    TCvHeader Header(nullptr);
    int Deletes = 0;
    int Creates = 0;
    Header.OnSectionDelete = [&](TObject*, TCvHeaderSection* S) {
        EXPECT_EQ(S, nullptr);
        ++Deletes;
    };
    Header.OnSectionCreate = [&](TObject*, TCvHeaderSection*) { ++Creates; };
    Header.LockUpdates();
    for (int I = 0; I < 4; ++I)
        Header.Sections().AppendSection();
    Header.Sections().DeleteSection(Header.Sections().ItemAt(0));
    Header.Sections().DeleteSection(Header.Sections().ItemAt(0));
    EXPECT_EQ(Deletes + Creates, 0);
    Header.UnlockUpdates();
    EXPECT_EQ(Deletes, 1);
    EXPECT_EQ(Creates, 1);
    Header.Sections().AppendSection();
    EXPECT_EQ(Creates, 2); // outside a lock each insertion is its own outermost unlock

    try {
        Header.Sections().DeleteSection(nullptr);
        FAIL() << "no error";
    } catch (const ECvHeaderError& E) {
        EXPECT_EQ(E.Message(), L"Invalid section");
    }
    try {
        Header.InvalidateFrom(Header.Sections().SectionCount());
        FAIL() << "no error";
    } catch (const ECvHeaderError& E) {
        EXPECT_EQ(E.Message(), L"Index out of bounds");
    }
}

TEST(CvHeaderSections, MovingKeepsTheLockedSectionFirst) {
    TCvHeader Header(nullptr);
    TCvHeaderSections& All = Header.Sections();
    TCvHeaderSection* A = All.AppendSection();
    TCvHeaderSection* B = All.AppendSection();
    TCvHeaderSection* C = All.AppendSection();
    std::vector<std::string> Moves;
    Header.OnSectionMove = [&](TObject*, TCvHeaderSection*, int Old, int New) {
        Moves.push_back(std::to_string(Old) + ">" + std::to_string(New));
    };
    All.MoveSection(C, 0);
    EXPECT_EQ(All.ItemAt(0), C);
    Header.SetLockedSection(C);
    All.MoveSection(A, 0); // position 0 is taken: it becomes 1
    All.MoveSection(C, 2); // the locked one stays
    EXPECT_EQ(All.ItemAt(0), C);
    EXPECT_EQ(All.ItemAt(1), A);
    EXPECT_EQ(All.ItemAt(2), B);
    EXPECT_EQ(Moves, (std::vector<std::string>{"2>0", "1>1"}));
    All.DeleteSection(C);
    EXPECT_EQ(Header.LockedSection(), nullptr);
}

TEST(CvHeaderSections, ParentsThatMakeACycleAreRefusedAndVisibilityFollowsParents) {
    TCvHeader Header(nullptr);
    TCvHeaderSection* A = Header.Sections().AppendSection();
    TCvHeaderSection* B = Header.Sections().AppendSection();
    TCvHeaderSection* C = Header.Sections().AppendSection();
    B->SetParentSection(A);
    C->SetParentSection(B);
    A->SetParentSection(C); // its own grandchild
    A->SetParentSection(A);
    EXPECT_EQ(A->ParentSection(), nullptr);
    EXPECT_FALSE(C->Visible()); // A is not expanded
    A->SetExpanded(true);       // refused: A is not expandable
    EXPECT_FALSE(A->Expanded());
    A->SetExpandable(true);
    A->SetExpanded(true);
    B->SetExpandable(true);
    B->SetExpanded(true);
    EXPECT_TRUE(C->Visible());
    A->SetExpandable(false); // releases its child
    EXPECT_EQ(B->ParentSection(), nullptr);
    EXPECT_EQ(B->LeftEdge(), 120);
    EXPECT_EQ(C->RightEdge(), 360);
}

TEST(CvHeaderSections, WidthOutsideTheLimitsIsIgnoredButStillReported) {
    TCvHeader Header(nullptr);
    TCvHeaderSection* S = Header.Sections().AppendSection();
    int Resizes = 0;
    Header.OnSectionResize = [&](TObject*, TCvHeaderSection* Section) {
        EXPECT_EQ(Section, S);
        ++Resizes;
    };
    S->SetMaxWidth(200);
    S->SetWidth(201);
    EXPECT_EQ(S->Width(), 120);
    S->SetWidth(150);
    EXPECT_EQ(S->Width(), 150);
    S->SetMaxWidth(100); // pulls the width down through the setter
    EXPECT_EQ(S->Width(), 100);
    S->SetMaxWidth(300);
    S->SetMinWidth(110);
    EXPECT_EQ(S->Width(), 110);
    EXPECT_EQ(Resizes, 4);
}

TEST(CvHeaderSections, SortModeClearsTheOthersUnlessMultiSort) {
    TCvHeader Header(nullptr);
    TCvHeaderSection* A = Header.Sections().AppendSection();
    TCvHeaderSection* B = Header.Sections().AppendSection();
    A->SetSortMode(hsmAscend);
    B->SetSortMode(hsmDescend);
    EXPECT_EQ(A->SortMode(), hsmNone);
    Header.MultiSort = true;
    A->SetSortMode(hsmAscend);
    EXPECT_EQ(B->SortMode(), hsmDescend);
}

// ------------------------------------------------------------ sticky widths

TEST(CvHeaderSticky, ResizingTheHeaderKeepsSharesAndFillsTheWidth) {
    TCvHeader Header(nullptr);
    Header.SetBounds(0, 0, 401, 20);
    for (int I = 0; I < 3; ++I)
        Add(Header, L"x", 100);
    Header.Sections().ItemAt(1)->SetResizable(false);
    Header.SetStickySections(true);
    Header.SetBounds(0, 0, 601, 20);
    // Resizable space 501 of 601: 100/301 and 100/301 of it, the rest to the last.
    EXPECT_EQ(Widths(Header.Sections()), (std::vector<int>{166, 100, 334}));
    EXPECT_EQ(VisibleSum(Header.Sections()), 600);
    Header.SetBounds(0, 0, 201, 20);
    EXPECT_EQ(VisibleSum(Header.Sections()), 200);
    EXPECT_EQ(Header.Sections().ItemAt(1)->Width(), 100);
}

TEST(CvHeaderSticky, ASectionsNewWidthIsTakenFromTheOnesAfterIt) {
    TCvHeader Header(nullptr);
    Header.SetBounds(0, 0, 301, 20);
    for (int I = 0; I < 3; ++I)
        Add(Header, L"x", 100);
    Header.SetStickySections(true);
    Header.Sections().ItemAt(0)->SetWidth(200);
    // The later two share H - W - L = 101 by their old shares of 201.
    EXPECT_EQ(Widths(Header.Sections()), (std::vector<int>{200, 50, 50}));
    EXPECT_EQ(VisibleSum(Header.Sections()), 300);

    // The last section: it takes the width, and the header fits the rest around it.
    Header.Sections().ItemAt(2)->SetWidth(150);
    EXPECT_EQ(Header.Sections().ItemAt(2)->Width(), 150);
    EXPECT_EQ(VisibleSum(Header.Sections()), 300);
}

TEST(CvHeaderSticky, NoSpaceRightOfTheSectionKeepsTheOtherWidths) {
    TCvHeader Header(nullptr);
    Header.SetBounds(0, 0, 301, 20);
    TCvHeaderSection* A = Add(Header, L"a", 301);
    TCvHeaderSection* B = Add(Header, L"b", 0);
    TCvHeaderSection* C = Add(Header, L"c", 0);
    Header.SetStickySections(true);
    // L + w equals the header width: nothing to scale by.
    A->SetWidth(200);
    EXPECT_EQ(A->Width(), 200);
    EXPECT_GE(B->Width(), 0);
    EXPECT_GE(C->Width(), 0);
    EXPECT_EQ(VisibleSum(Header.Sections()), 300);
}

TEST(CvHeaderSticky, HidingAndShowingRedistributes) {
    TCvHeader Header(nullptr);
    Header.SetBounds(0, 0, 301, 20);
    for (int I = 0; I < 3; ++I)
        Add(Header, L"x", 100);
    Header.SetStickySections(true);
    int ShowHide = 0;
    Header.OnSectionShowHide = [&](TObject*, TCvHeaderSection*) { ++ShowHide; };
    Header.Sections().ItemAt(1)->SetVisible(false);
    EXPECT_EQ(VisibleSum(Header.Sections()), 300);
    EXPECT_EQ(Header.Sections().ItemAt(0)->Width(), 100);
    Header.Sections().ItemAt(1)->SetVisible(true);
    EXPECT_EQ(VisibleSum(Header.Sections()), 300);
    // The last section: the ones before it share its width, none is squeezed to nothing.
    Header.Sections().ItemAt(2)->SetVisible(false);
    EXPECT_EQ(Widths(Header.Sections()), (std::vector<int>{150, 150, 100}));
    EXPECT_EQ(VisibleSum(Header.Sections()), 300);
    EXPECT_EQ(ShowHide, 3);
}

TEST(CvHeaderSticky, FittingShrinksNonResizableSectionsLastAndGivesTheirWidthBack) {
    TCvHeader Header(nullptr);
    Header.SetBounds(0, 0, 301, 20);
    TCvHeaderSection* A = Add(Header, L"a", 100);
    TCvHeaderSection* B = Add(Header, L"b", 250);
    A->SetResizable(false);
    B->SetResizable(false);
    Header.FitSections(nullptr);
    EXPECT_EQ(VisibleSum(Header.Sections()), 300);
    EXPECT_EQ(B->SavedWidth(), 250);
    EXPECT_EQ(B->Width(), 200);
    Header.SetBounds(0, 0, 601, 20);
    Header.FitSections(nullptr);
    EXPECT_EQ(B->Width(), 250);
    EXPECT_EQ(B->SavedWidth(), -1);
}

// ------------------------------------------------------------ order string

TEST(CvHeaderSections, SectionsOrderListsAndRestoresPlacesWidthsAndVisibility) {
    TCvHeader Header(nullptr);
    for (int I = 0; I < 3; ++I)
        Header.Sections().AppendSection();
    Header.Sections().ItemAt(2)->SetVisible(false);
    EXPECT_EQ(Header.Sections().SectionsOrder(), "i0:w120:vt,i1:w120:vt,i2:w120:vf,");
    Header.Sections().SetSectionsOrder("i2:w50:vt,junk,i9:w1:vt,i0:w60:vf,");
    EXPECT_EQ(Header.Sections().SectionsOrder(), "i2:w50:vt,i0:w60:vf,i1:w120:vt,");
}

// ------------------------------------------------------------ the stream

namespace {

TBytes OneFilesSection(std::int32_t Id) {
    TByteWriter W;
    W.Int(-12);
    W.Int(1);
    TRecordBytes R(140);
    std::fill(R.Bytes.begin(), R.Bytes.end(), 0);
    R.Int(8, -1);     // no parent
    R.Byte(14, 1);    // visible
    R.Byte(15, 1);    // ClickSelect
    R.Byte(16, 1);    // Resizable
    R.Int(20, 120);   // Width
    R.Int(28, 10000); // MaxWidth
    R.Byte(33, 1);    // AllowClick
    R.Int(36, Id);    // SectionId
    R.Byte(44, 1);    // FieldType sftText
    R.Int(48, -1);    // ImageIndex
    R.Byte(54, 1);    // ParentColor
    R.Byte(65, 1);    // TextLayout tlCenter
    W.Bytes.insert(W.Bytes.end(), R.Bytes.begin(), R.Bytes.end());
    W.Terminated("Files");
    W.Terminated("");
    W.Int(0); // PopupMenuName
    W.Int(0); // Hint
    return W.Bytes;
}

} // namespace

TEST(CvHeaderStream, WritesTheNewestVersionByteForByte) {
    TCvHeader Header(nullptr);
    EXPECT_EQ(Saved(Header.Sections()), (TBytes{0xF4, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
    TCvHeaderSection* S = Header.Sections().AppendSection();
    S->SetText(L"Files");
    S->SetSectionId(0x01020304);
    const TBytes Bytes = Saved(Header.Sections());
    EXPECT_EQ(Bytes.size(), 171u);
    EXPECT_EQ(Bytes, OneFilesSection(0x01020304));
}

TEST(CvHeaderStream, ReadingBackGivesTheSameSections) {
    TCvHeader Source(nullptr);
    TCvHeaderSection* A = Add(Source, L"Name", 150);
    TCvHeaderSection* B = Add(Source, L"Größe", 80);
    A->SetExpandable(true);
    A->SetExpanded(true);
    B->SetParentSection(A);
    B->SetFieldName("SIZE");
    B->SetHint(L"Bytes \u0416");
    B->SetVisible(false);
    B->SetAlignment(hsaRight);
    B->SetFieldType(sftNumber);
    B->SetFilterIsActive(true);
    B->Tag = 77;
    Source.Sections().MoveSection(B, 0);

    TCvHeader Copy(nullptr);
    Load(Copy.Sections(), Saved(Source.Sections()));
    ASSERT_EQ(Copy.Sections().SectionCount(), 2);
    const TCvHeaderSection* B2 = Copy.Sections().ItemAt(0);
    const TCvHeaderSection* A2 = Copy.Sections().ItemAt(1);
    EXPECT_EQ(B2->SectionIndex(), 1);
    EXPECT_EQ(B2->SectionId(), B->SectionId());
    EXPECT_EQ(A2->SectionId(), A->SectionId());
    EXPECT_EQ(B2->Text(), L"Größe");
    EXPECT_EQ(B2->FieldName(), "SIZE");
    EXPECT_EQ(B2->Hint(), L"Bytes \u0416"); // the wide hint keeps what the code page cannot
    EXPECT_EQ(B2->ParentSection(), A2);
    EXPECT_FALSE(B2->OwnVisible());
    EXPECT_EQ(B2->Alignment(), hsaRight);
    EXPECT_EQ(B2->FieldType(), sftNumber);
    EXPECT_FALSE(B2->FilterIsActive()); // not stored
    EXPECT_EQ(B2->Tag, 77);
    EXPECT_EQ(A2->Width(), 150);
    EXPECT_TRUE(A2->Expanded());
}

namespace {

struct TReaderCase {
    std::int32_t Version;
    int RecordSize;
    int WidthAt;    // offset of Width
    int IndexAt;    // offset of SectionIndex
    int ParentAt;   // -1: none stored
    int AutoSizeAt; // -1: none stored
    bool PopupName; // PopupMenuName stored
    int HintForm;   // 0 none, 1 narrow, 2 wide
    bool Sections;  // the version is read at all
};

// Two sections numbered 1 and 0, in that order; the second names the first as parent where the
// version stores parents.
TBytes SyntheticStream(const TReaderCase& C) {
    TByteWriter W;
    W.Int(C.Version);
    if (!C.Sections)
        return W.Bytes; // nothing more is read; the count is not even there
    W.Int(2);
    for (int I = 0; I < 2; ++I) {
        TRecordBytes R(C.RecordSize);
        // Undefined bytes hold junk in stored layouts; fields the test reads are set.
        R.Int(C.WidthAt, 40 + I);
        R.Int(C.IndexAt, 1 - I);
        if (C.ParentAt >= 0)
            R.Int(C.ParentAt, I == 0 ? -1 : 1);
        if (C.AutoSizeAt >= 0)
            R.Byte(C.AutoSizeAt, 1);
        W.Bytes.insert(W.Bytes.end(), R.Bytes.begin(), R.Bytes.end());
        W.Terminated(I == 0 ? "One" : "Two");
        W.Terminated("F");
        if (C.PopupName)
            W.Narrow("pm");
        if (C.HintForm == 1)
            W.Narrow("hint");
        else if (C.HintForm == 2)
            W.Wide(L"hint");
    }
    return W.Bytes;
}

const TReaderCase ReaderCases[] = {
    {-12, 140, 20, 40, 8, 67, true, 2, true}, {-13, 140, 20, 40, 8, 67, true, 2, true},
    {-11, 140, 20, 40, 8, 67, true, 1, true}, {-10, 68, 20, 40, 8, 67, true, 1, true},
    {-9, 64, 20, 36, 8, 63, true, 1, true},   {-8, 64, 20, 36, 8, -1, true, 1, true},
    {-6, 52, 20, 36, 8, -1, true, 0, true},   {-5, 52, 20, 36, 8, -1, false, 0, true},
    {-4, 36, 4, 20, -1, -1, false, 0, true},  {-7, 0, 0, 0, -1, -1, false, 0, false},
    {-3, 0, 0, 0, -1, -1, false, 0, false},   {0, 0, 0, 0, -1, -1, false, 0, false},
};

} // namespace

TEST(CvHeaderStream, ReadsEveryStoredVersion) {
    for (const TReaderCase& C : ReaderCases) {
        SCOPED_TRACE("version " + std::to_string(C.Version));
        TCvHeader Header(nullptr);
        Header.Sections().AppendSection(); // whatever was there goes
        Load(Header.Sections(), SyntheticStream(C));
        if (!C.Sections) {
            EXPECT_EQ(Header.Sections().SectionCount(), 0);
            continue;
        }
        ASSERT_EQ(Header.Sections().SectionCount(), 2);
        const TCvHeaderSection* First = Header.Sections().ItemAt(0);
        const TCvHeaderSection* Second = Header.Sections().ItemAt(1);
        EXPECT_EQ(First->Width(), 40);
        EXPECT_EQ(Second->SectionIndex(), 0);
        EXPECT_EQ(First->Text(), L"One");
        EXPECT_EQ(Second->FieldName(), "F");
        EXPECT_EQ(Second->ParentSection(), C.ParentAt >= 0 ? First : nullptr);
        EXPECT_EQ(Second->AutoSize(), C.AutoSizeAt >= 0);
        EXPECT_EQ(Second->PopupMenuName(), C.PopupName ? "pm" : "");
        EXPECT_EQ(Second->Hint(), C.HintForm ? L"hint" : L"");
    }
}

TEST(CvHeaderStream, NegativeLengthsReadAsEmptyAndReadingGoesOn) {
    TByteWriter W;
    W.Int(-12);
    W.Int(2);
    for (int I = 0; I < 2; ++I) {
        TRecordBytes R(140);
        R.Int(8, -1);
        R.Int(20, 60 + I);
        R.Int(40, I);
        W.Bytes.insert(W.Bytes.end(), R.Bytes.begin(), R.Bytes.end());
        W.Int(-5); // Text
        W.Int(-1); // FieldName
        W.Int(-2); // PopupMenuName
        W.Int(-9); // Hint
    }
    TCvHeader Header(nullptr);
    Load(Header.Sections(), W.Bytes);
    ASSERT_EQ(Header.Sections().SectionCount(), 2);
    EXPECT_EQ(Header.Sections().ItemAt(1)->Width(), 61);
    EXPECT_EQ(Header.Sections().ItemAt(1)->Text(), L"");
    EXPECT_EQ(Header.Sections().ItemAt(1)->Hint(), L"");
}

TEST(CvHeaderStream, AStreamCutShortRaisesAndKeepsTheSectionsReadBefore) {
    TCvHeader Source(nullptr);
    Add(Source, L"First", 70);
    TCvHeaderSection* Second = Add(Source, L"Second", 80);
    Second->SetHint(L"a hint");
    const TBytes Whole = Saved(Source.Sections());
    const std::size_t SecondStart = 8 + 140 + 10 + 5 + 4 + 4;
    const std::size_t HintBytes = 2 * 6;
    // Cut in the count, in the second record, in its caption, and inside its hint.
    for (const std::size_t Cut :
         {std::size_t{6}, SecondStart + 70, SecondStart + 140 + 6, Whole.size() - HintBytes / 2}) {
        SCOPED_TRACE("cut at " + std::to_string(Cut));
        TCvHeader Header(nullptr);
        EXPECT_THROW(Load(Header.Sections(), TBytes(Whole.begin(), Whole.begin() + Cut)),
                     EReadError);
        if (Cut > SecondStart) {
            ASSERT_EQ(Header.Sections().SectionCount(), 1);
            EXPECT_EQ(Header.Sections().ItemAt(0)->Text(), L"First");
        }
    }
    // A stream cut inside the popup menu name is a read error too, not a silent empty name.
    Second->SetHint(L"");
    TCvHeader WithMenu(nullptr);
    TBytes Bytes = Saved(Source.Sections());
    Bytes.resize(Bytes.size() - 4); // drop the hint's length
    Bytes.resize(Bytes.size() - 4); // and the menu name's length
    TByteWriter Tail;
    Tail.Int(10);
    Tail.Raw("pop");
    Bytes.insert(Bytes.end(), Tail.Bytes.begin(), Tail.Bytes.end());
    EXPECT_THROW(Load(WithMenu.Sections(), Bytes), EReadError);
    EXPECT_EQ(WithMenu.Sections().SectionCount(), 1);
}

TEST(CvHeaderSections, AssignCopiesSectionsWithNumbersButNotFieldNames) {
    TCvHeader Source(nullptr);
    TCvHeaderSection* A = Add(Source, L"A", 50);
    TCvHeaderSection* B = Add(Source, L"B", 60);
    A->SetExpandable(true);
    B->SetParentSection(A);
    B->SetFieldName("FIELD");
    Source.Sections().MoveSection(A, 1);
    TCvHeader Copy(nullptr);
    Copy.Sections().AppendSection();
    Copy.SetSections(Source.Sections());
    ASSERT_EQ(Copy.Sections().SectionCount(), 2);
    EXPECT_EQ(Copy.Sections().ItemAt(0)->Text(), L"B");
    EXPECT_EQ(Copy.Sections().ItemAt(0)->SectionIndex(), 1);
    EXPECT_EQ(Copy.Sections().ItemAt(0)->SectionId(), B->SectionId());
    EXPECT_EQ(Copy.Sections().ItemAt(0)->ParentSection(), Copy.Sections().ItemAt(1));
    EXPECT_EQ(Copy.Sections().ItemAt(0)->FieldName(), ""); // kept as the original has it
}

TEST(CvHeaderSections, RightAlignedOrderReversesTheSectionsButNotTheLockedOne) {
    TCvHeader Header(nullptr);
    for (int I = 0; I < 4; ++I)
        Header.Sections().AppendSection();
    Header.SetLockedSection(Header.Sections().ItemAt(0));
    Header.SetRightAlignedOrder(true);
    std::vector<int> Order;
    for (int I = 0; I < 4; ++I)
        Order.push_back(Header.Sections().ItemAt(I)->SectionIndex());
    EXPECT_EQ(Order, (std::vector<int>{0, 3, 2, 1}));
    Header.SetRightAlignedOrder(false);
    EXPECT_EQ(Header.Sections().ItemAt(1)->SectionIndex(), 1);
}
