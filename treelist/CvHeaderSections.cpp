// Header sections, their collection and the "Data" stream.
#include "treelist/CvHeader.h"

#include "classlib/gui/Menus.h"
#include "treelist/CvTools.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Banker's rounding of the sticky redistribution (the FPU's default mode).
int RoundEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

// Ids come from one counter, so that no two sections of any header start with the same one.
std::int32_t NextSectionSeed() {
    static std::int32_t Counter = 0;
    if (Counter == INT32_MAX)
        Counter = 0;
    return ++Counter;
}

} // namespace

// ------------------------------------------------------------ TCvHeaderSection

TCvHeaderSection::TCvHeaderSection(TCustomCvHeader* AHeader)
    : FHeader(AHeader), FWidth(AHeader ? AHeader->DefaultWidth : 120) {}

TCvHeaderSection::~TCvHeaderSection() {
    // Children must not point at a freed parent.
    if (FHeader)
        for (int I = 0; I < FHeader->Sections().SectionCount(); ++I) {
            TCvHeaderSection* S = FHeader->Sections().ItemAt(I);
            if (S->FParentSection == this)
                S->FParentSection = nullptr;
        }
}

TCvHeaderSections* TCvHeaderSection::Owner() const {
    return FHeader ? &FHeader->Sections() : nullptr;
}

int TCvHeaderSection::ListPosition() const {
    return FHeader ? FHeader->Sections().IndexOf(this) : -1;
}

bool TCvHeaderSection::Visible() const {
    if (!FVisible)
        return false;
    // A cycle cannot be built, but a bounded walk keeps a damaged stream from hanging here.
    const TCvHeaderSection* Parent = FParentSection;
    for (int Depth = 0; Parent && Depth < 10000; ++Depth) {
        if (!Parent->FVisible || !Parent->FExpanded)
            return false;
        Parent = Parent->FParentSection;
    }
    return true;
}

int TCvHeaderSection::LeftEdge() const {
    int Edge = 0;
    const TCvHeaderSections& All = FHeader->Sections();
    for (int I = 0; I < All.SectionCount(); ++I) {
        const TCvHeaderSection* S = All.ItemAt(I);
        if (S == this)
            break;
        if (S->Visible())
            Edge += S->FWidth;
    }
    return Edge;
}

int TCvHeaderSection::RightEdge() const {
    return LeftEdge() + (Visible() ? FWidth : 0);
}

void TCvHeaderSection::InvalidateSection() {
    if (!FHeader || !Visible() || !FHeader->HandleAllocated())
        return;
    TRect R = FHeader->SectionRect(FSectionIndex);
    R.Left -= FHeader->ScrollOffset();
    R.Right -= FHeader->ScrollOffset();
    const RECT Area = R;
    InvalidateRect(FHeader->Handle(), &Area, FALSE);
}

void TCvHeaderSection::AutoSizeNotice() {
    if (FAutoSize && FHeader)
        FHeader->NotifySectionAutoSize(this);
}

void TCvHeaderSection::ChangeNotice(TSectionChangeMode Mode) {
    if (FHeader)
        FHeader->NotifySectionChange(this, Mode);
}

void TCvHeaderSection::EnsureButtonHeight() {
    if (FHeader)
        FHeader->EnsureButtonHeight();
}

bool TCvHeaderSection::IsLast() const {
    const TCvHeaderSections& All = FHeader->Sections();
    return All.SectionCount() > 0 && All.ItemAt(All.SectionCount() - 1) == this;
}

bool TCvHeaderSection::IsDescendantOf(const TCvHeaderSection* Section) const {
    for (const TCvHeaderSection* P = FParentSection; P; P = P->FParentSection)
        if (P == Section)
            return true;
    return false;
}

void TCvHeaderSection::SetText(const String& Value) {
    if (FText == Value)
        return;
    FText = Value;
    AutoSizeNotice();
    if (FHeader)
        FHeader->AdjustHeightToFont();
    if (FStyle == CvhsText)
        InvalidateSection();
    ChangeNotice(scmCaption);
}

void TCvHeaderSection::SetStyle(TCvSectionStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    ChangeNotice(scmStyle);
    InvalidateSection();
}

void TCvHeaderSection::SetWidth(int Value) {
    if (Value >= FMinWidth && Value <= FMaxWidth)
        ApplyWidth(Value);
    if (FHeader)
        FHeader->NotifySectionResize(this);
}

void TCvHeaderSection::ApplyWidth(int W) {
    TCustomCvHeader* H = FHeader;
    if (!H || !H->StickySections() || !Visible() || H->ApplyingSticky() || H->IsLoading()) {
        FWidth = W;
        if (H && Visible() && !H->ApplyingSticky()) {
            H->AdjustHeightToFont();
            H->InvalidateFromSection(this);
        }
        return;
    }
    TCvHeaderSections& All = H->Sections();
    if (!IsLast()) {
        const int L = LeftEdge();
        const int Old = FWidth;
        const int HW = H->HeaderWidth();
        const double Divisor = HW - L - Old;
        const int Position = ListPosition();
        TCvHeaderSection* LastLater = nullptr;
        // With nothing (or less) left right of the section there is no share to scale by: the
        // later widths stay as they are.
        for (int I = Position + 1; I < All.SectionCount(); ++I) {
            TCvHeaderSection* S = All.ItemAt(I);
            if (!S->FResizable || !S->Visible())
                continue;
            if (Divisor > 0)
                S->FWidth = RoundEven(S->FWidth / Divisor * (HW - W - L));
            LastLater = S;
        }
        FWidth = W;
        int Sum = 0;
        for (int I = 0; I < All.SectionCount(); ++I)
            if (All.ItemAt(I)->Visible())
                Sum += All.ItemAt(I)->FWidth;
        if (LastLater && HW > Sum)
            LastLater->FWidth += HW - Sum;
    } else {
        FWidth = W;
    }
    H->FitSections(this);
    H->ComputeWidthShares();
    H->InvalidateFromSection(this);
}

void TCvHeaderSection::SetMaxWidth(int Value) {
    if (FMaxWidth == Value)
        return;
    FMaxWidth = Value;
    if (Value < FWidth)
        SetWidth(Value);
}

void TCvHeaderSection::SetMinWidth(int Value) {
    if (FMinWidth == Value)
        return;
    FMinWidth = Value;
    if (Value > FWidth)
        SetWidth(Value);
}

void TCvHeaderSection::SetSortMode(TCvSSortMode Value) {
    if (FSortMode == Value)
        return;
    if (FHeader && !FHeader->MultiSort)
        for (int I = 0; I < FHeader->Sections().SectionCount(); ++I)
            FHeader->Sections().ItemAt(I)->FSortMode = hsmNone;
    FSortMode = Value;
    AutoSizeNotice();
    if (FHeader && FShowSortMark)
        FHeader->Invalidate();
}

void TCvHeaderSection::SetAlignment(TCvSAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    ChangeNotice(scmAlign);
    InvalidateSection();
}

void TCvHeaderSection::SetPictureAlign(TCvSAlignment Value) {
    if (FPictureAlign == Value)
        return;
    FPictureAlign = Value;
    InvalidateSection();
}

void TCvHeaderSection::SetFieldName(const std::string& Value) {
    if (FFieldName == Value)
        return;
    FFieldName = Value;
    ChangeNotice(scmFieldName);
}

void TCvHeaderSection::SetFieldType(TCvFieldType Value) {
    if (FFieldType == Value)
        return;
    FFieldType = Value;
    ChangeNotice(scmFieldType);
}

void TCvHeaderSection::SetEditable(bool Value) {
    if (FEditable == Value)
        return;
    FEditable = Value;
    ChangeNotice(scmEditable);
}

void TCvHeaderSection::SetPassword(bool Value) {
    if (FPassword == Value)
        return;
    FPassword = Value;
    ChangeNotice(scmPassword);
}

void TCvHeaderSection::SetImageIndex(int Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    AutoSizeNotice();
    InvalidateSection();
}

void TCvHeaderSection::SetResizable(bool Value) {
    FResizable = Value;
    if (FHeader && FHeader->StickySections())
        FHeader->ComputeWidthShares();
}

void TCvHeaderSection::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    if (!FHeader) {
        FVisible = Value;
        return;
    }
    FHeader->LockUpdates();
    try {
        ApplyVisible(Value);
    } catch (...) {
        FHeader->UnlockUpdates();
        throw;
    }
    FHeader->UnlockUpdates();
}

void TCvHeaderSection::ApplyVisible(bool V) {
    TCustomCvHeader* H = FHeader;
    const bool ParentShown = !FParentSection || FParentSection->Visible();
    if (!H->StickySections() || !ParentShown || H->ApplyingSticky() || H->IsLoading()) {
        FVisible = V;
        H->AdjustHeightToFont();
        if (!H->ApplyingSticky() && ParentShown)
            H->InvalidateFromSection(this);
    } else {
        const int Leaving = V ? 0 : FWidth;
        const int Arriving = V ? FWidth : 0;
        const int L = LeftEdge();
        const int HW = H->HeaderWidth();
        TCvHeaderSections& All = H->Sections();
        const int Position = ListPosition();
        const bool Last = IsLast();
        // The sections after this one share the space right of it; for the last section, the
        // ones before it share the space left of it (scaling them by the 1-pixel gap at the
        // right edge would blow them up and squeeze all but one to nothing). A space of 0 or
        // less keeps the widths.
        const double From = Last ? L : HW - Leaving - L;
        const double To = Last ? L + Leaving - Arriving : HW - Arriving - L;
        FVisible = V;
        if (From > 0)
            for (int I = 0; I < All.SectionCount(); ++I) {
                TCvHeaderSection* S = All.ItemAt(I);
                if (S == this || !S->FResizable || (Last ? I > Position : I < Position))
                    continue;
                S->FWidth = std::max(0, RoundEven(S->FWidth / From * To));
            }
        H->FitSections(this);
        H->ComputeWidthShares();
    }
    H->Invalidate();
    H->NotifySectionShowHide(this);
}

void TCvHeaderSection::SetExpandable(bool Value) {
    if (FExpandable == Value)
        return;
    FExpandable = Value;
    bool Released = false;
    if (!Value && FHeader)
        for (int I = 0; I < FHeader->Sections().SectionCount(); ++I) {
            TCvHeaderSection* S = FHeader->Sections().ItemAt(I);
            if (S->FParentSection == this) {
                S->FParentSection = nullptr;
                Released = true;
            }
        }
    AutoSizeNotice();
    if (Released && FHeader)
        FHeader->Invalidate();
}

void TCvHeaderSection::SetExpanded(bool Value) {
    if (FExpanded == Value || !FExpandable)
        return;
    FExpanded = Value;
    if (FHeader)
        FHeader->Invalidate();
}

void TCvHeaderSection::SetParentSection(TCvHeaderSection* Value) {
    if (FParentSection == Value || Value == this || (Value && Value->IsDescendantOf(this)))
        return;
    FParentSection = Value;
    if (!FHeader)
        return;
    FHeader->NotifySectionShowHide(this);
    FHeader->AdjustHeightToFont();
    FHeader->Invalidate();
}

void TCvHeaderSection::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu == Value)
        return;
    FPopupMenu = Value;
    FPopupMenuName = Value ? ToAnsi(Value->Name) : std::string();
    WatchPopupMenu();
}

void TCvHeaderSection::WatchPopupMenu() {
    // The header forgets the menu when it goes, so no section is left pointing at it.
    if (FPopupMenu && FHeader)
        FPopupMenu->FreeNotification(FHeader);
}

void TCvHeaderSection::SetLookupEnabled(bool Value) {
    if (FLookupEnabled == Value)
        return;
    FLookupEnabled = Value;
    if (Value)
        EnsureButtonHeight();
    AutoSizeNotice();
    InvalidateSection();
}

void TCvHeaderSection::SetFilterEnabled(bool Value) {
    if (FFilterEnabled == Value)
        return;
    FFilterEnabled = Value;
    if (Value)
        EnsureButtonHeight();
    AutoSizeNotice();
    InvalidateSection();
}

void TCvHeaderSection::SetFilterIsActive(bool Value) {
    if (FFilterIsActive == Value)
        return;
    FFilterIsActive = Value;
    if (FFilterEnabled)
        InvalidateSection();
}

void TCvHeaderSection::SetLookupHistory(const TStrings& Value) {
    FLookupHistory.Assign(Value);
}

void TCvHeaderSection::SetParentColor(bool Value) {
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    InvalidateSection();
}

void TCvHeaderSection::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    FParentColor = false;
    InvalidateSection();
}

void TCvHeaderSection::SetFontColor(TColor Value) {
    if (FFontColor == Value)
        return;
    FFontColor = Value;
    FParentColor = false;
    InvalidateSection();
}

void TCvHeaderSection::SetUseMainStyle(bool Value) {
    if (FUseMainStyle == Value)
        return;
    FUseMainStyle = Value;
    if (FHeader && FHeader->Parent())
        FHeader->Parent()->Invalidate();
}

void TCvHeaderSection::SetTextLayout(TCvTextLayout Value) {
    if (FTextLayout == Value)
        return;
    FTextLayout = Value;
    InvalidateSection();
}

void TCvHeaderSection::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    if (Value)
        AutoSizeNotice();
}

void TCvHeaderSection::SetShowSortMark(bool Value) {
    if (FShowSortMark == Value)
        return;
    FShowSortMark = Value;
    if (FSortMode != hsmNone)
        InvalidateSection();
}

void TCvHeaderSection::Assign(const TPersistent& Source) {
    const auto* From = dynamic_cast<const TCvHeaderSection*>(&Source);
    if (!From) {
        TPersistent::Assign(Source);
        return;
    }
    FText = From->FText;
    FStyle = From->FStyle;
    FWidth = From->FWidth;
    FMaxWidth = From->FMaxWidth;
    FMinWidth = From->FMinWidth;
    FSortMode = From->FSortMode;
    FAllowClick = From->FAllowClick;
    FAlignment = From->FAlignment;
    FPictureAlign = From->FPictureAlign;
    FVisible = From->FVisible;
    FImageIndex = From->FImageIndex;
    FFieldType = From->FFieldType;
    FEditable = From->FEditable;
    FPassword = From->FPassword;
    FResizable = From->FResizable;
    FClickSelect = From->FClickSelect;
    FExpandable = From->FExpandable;
    FExpanded = From->FExpanded;
    FPopupMenu = From->FPopupMenu;
    FPopupMenuName = From->FPopupMenuName;
    WatchPopupMenu();
    FLookupEnabled = From->FLookupEnabled;
    FParentColor = From->FParentColor;
    FColor = From->FColor;
    FFontColor = From->FFontColor;
    FUseMainStyle = From->FUseMainStyle;
    FTextLayout = From->FTextLayout;
    FFilterEnabled = From->FFilterEnabled;
    FHint = From->FHint;
    FAutoSize = From->FAutoSize;
    FShowSortMark = From->FShowSortMark;
    Tag = From->Tag;
    FSectionIndex = From->FSectionIndex;
    FParentSection = nullptr;
    if (From->FParentSection && FHeader) {
        TCvHeaderSection* Parent =
            FHeader->Sections().ItemByIndex(From->FParentSection->FSectionIndex);
        if (Parent != this && (!Parent || !Parent->IsDescendantOf(this)))
            FParentSection = Parent;
    }
}

// ------------------------------------------------------------ TCvHeaderSections

TCvHeaderSections::~TCvHeaderSections() {
    RemoveAllSections();
}

TCvHeaderSection* TCvHeaderSections::ItemAt(int Position) const {
    if (Position < 0 || Position >= SectionCount())
        throw ECvHeaderError(L"Index out of bounds");
    return FItems[static_cast<std::size_t>(Position)].get();
}

TCvHeaderSection* TCvHeaderSections::ItemByIndex(int SectionIndex) const {
    for (const auto& S : FItems)
        if (S->FSectionIndex == SectionIndex)
            return S.get();
    return nullptr;
}

TCvHeaderSection* TCvHeaderSections::FindById(std::int32_t Id) const {
    for (const auto& S : FItems)
        if (S->FSectionId == Id)
            return S.get();
    return nullptr;
}

int TCvHeaderSections::IndexOf(const TCvHeaderSection* Section) const {
    for (std::size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I].get() == Section)
            return static_cast<int>(I);
    return -1;
}

std::unique_ptr<TCvHeaderSection> TCvHeaderSections::CreateSection() {
    return std::unique_ptr<TCvHeaderSection>(new TCvHeaderSection(FHeader));
}

int TCvHeaderSections::SmallestFreeIndex() const {
    for (int Candidate = 0;; ++Candidate)
        if (!ItemByIndex(Candidate))
            return Candidate;
}

std::int32_t TCvHeaderSections::UniqueSectionId(const TCvHeaderSection* Section) const {
    std::int32_t Id = NextSectionSeed();
    for (;;) {
        const TCvHeaderSection* Holder = FindById(Id);
        if (!Holder || Holder == Section)
            return Id;
        Id = Id == INT32_MAX ? 1 : Id + 1;
    }
}

TCvHeaderSection* TCvHeaderSections::InsertSection(int Position) {
    Position = std::clamp(Position, 0, SectionCount());
    FHeader->LockUpdates();
    TCvHeaderSection* Added = nullptr;
    try {
        std::unique_ptr<TCvHeaderSection> Section = CreateSection();
        Section->FSectionIndex = SmallestFreeIndex();
        Section->FSectionId = UniqueSectionId(Section.get());
        Section->FHeader = FHeader;
        Added = Section.get();
        FItems.insert(FItems.begin() + Position, std::move(Section));
        FHeader->InvalidateFromSection(Added);
        FHeader->FPendingCreate = true;
    } catch (...) {
        FHeader->UnlockUpdates();
        throw;
    }
    FHeader->UnlockUpdates();
    return Added;
}

void TCvHeaderSections::Renumber() {
    for (std::size_t I = 0; I < FItems.size(); ++I)
        FItems[I]->FSectionIndex = static_cast<int>(I);
}

void TCvHeaderSections::DeleteSection(TCvHeaderSection* Section) {
    const int Position = IndexOf(Section);
    if (!Section || Position < 0)
        throw ECvHeaderError(L"Invalid section");
    FHeader->LockUpdates();
    try {
        FHeader->SectionDeleted(Section);
        std::unique_ptr<TCvHeaderSection> Gone =
            std::move(FItems[static_cast<std::size_t>(Position)]);
        FItems.erase(FItems.begin() + Position);
        Renumber();
        FHeader->FPendingDelete = true;
        Gone.reset();
        FHeader->Invalidate();
    } catch (...) {
        FHeader->UnlockUpdates();
        throw;
    }
    FHeader->UnlockUpdates();
}

void TCvHeaderSections::MoveSection(TCvHeaderSection* Section, int Position) {
    const int Old = IndexOf(Section);
    if (Old < 0)
        throw ECvHeaderError(L"Invalid section");
    const TCvHeaderSection* Locked = FHeader->LockedSection();
    if (Section == Locked)
        return; // the locked section stays first
    Position = std::clamp(Position, 0, SectionCount() - 1);
    if (Locked && Position == 0)
        Position = 1;
    FHeader->LockUpdates();
    try {
        std::unique_ptr<TCvHeaderSection> Moving = std::move(FItems[static_cast<std::size_t>(Old)]);
        FItems.erase(FItems.begin() + Old);
        FItems.insert(FItems.begin() + Position, std::move(Moving));
        FHeader->NotifySectionMove(Section, Old, Position);
        FHeader->Invalidate();
    } catch (...) {
        FHeader->UnlockUpdates();
        throw;
    }
    FHeader->UnlockUpdates();
}

void TCvHeaderSections::RemoveAllSections() {
    if (FHeader)
        for (const auto& S : FItems)
            FHeader->SectionDeleted(S.get());
    while (!FItems.empty()) {
        std::unique_ptr<TCvHeaderSection> Gone = std::move(FItems.back());
        FItems.pop_back();
    }
}

TCvHeaderSection* TCvHeaderSections::LastVisibleSection() const {
    for (auto It = FItems.rbegin(); It != FItems.rend(); ++It)
        if ((*It)->Visible())
            return It->get();
    return nullptr;
}

TCvHeaderSection* TCvHeaderSections::PrevVisibleSection(const TCvHeaderSection* Section) const {
    for (int I = IndexOf(Section) - 1; I >= 0; --I)
        if (FItems[static_cast<std::size_t>(I)]->Visible())
            return FItems[static_cast<std::size_t>(I)].get();
    return nullptr;
}

void TCvHeaderSections::Assign(const TPersistent& Source) {
    const auto* From = dynamic_cast<const TCvHeaderSections*>(&Source);
    if (!From) {
        TPersistent::Assign(Source);
        return;
    }
    if (From == this)
        return;
    FHeader->LockUpdates();
    try {
        while (SectionCount() > 0)
            DeleteSection(ItemAt(SectionCount() - 1));
        for (int I = 0; I < From->SectionCount(); ++I)
            AppendSection()->Assign(*From->ItemAt(I));
        for (int I = 0; I < From->SectionCount(); ++I) {
            ItemAt(I)->FSectionIndex = From->ItemAt(I)->FSectionIndex;
            ItemAt(I)->FSectionId = From->ItemAt(I)->FSectionId;
        }
        // Parents are found by number, which is only right once all numbers are in.
        for (int I = 0; I < From->SectionCount(); ++I) {
            const TCvHeaderSection* P = From->ItemAt(I)->FParentSection;
            ItemAt(I)->FParentSection = P ? ItemByIndex(P->FSectionIndex) : nullptr;
        }
        FHeader->ComputeWidthShares();
        FHeader->Invalidate();
    } catch (...) {
        FHeader->UnlockUpdates();
        throw;
    }
    FHeader->UnlockUpdates();
}

std::string TCvHeaderSections::SectionsOrder() const {
    std::string Order;
    for (const auto& S : FItems)
        Order += "i" + std::to_string(S->FSectionIndex) + ":w" + std::to_string(S->FWidth) + ":v" +
                 (S->Visible() ? "t," : "f,");
    return Order;
}

void TCvHeaderSections::SetSectionsOrder(const std::string& Value) {
    if (FHeader->IsLoading() || FHeader->ComponentState().Contains(csDesigning))
        return;
    int Entry = 0;
    std::size_t At = 0;
    while (At < Value.size()) {
        std::size_t End = Value.find_first_of(",;", At);
        if (End == std::string::npos)
            End = Value.size();
        const std::string Part = Value.substr(At, End - At);
        At = End + 1;
        int Index = 0;
        int Width = 0;
        char Flag = 't';
        if (std::sscanf(Part.c_str(), "i%d:w%d:v%c", &Index, &Width, &Flag) != 3)
            continue; // not an entry: skipped whole
        TCvHeaderSection* S = ItemByIndex(Index);
        if (!S)
            continue;
        MoveSection(S, Entry);
        S->SetWidth(Width);
        S->SetVisible(Flag != 'f');
        ++Entry;
    }
}

// ------------------------------------------------------------ the "Data" stream

// Where each field lies in the fixed record of one stream version; -1 when the version does not
// hold it.
struct TSectionRecordLayout {
    int Version;
    int Size;
    int LookupEnabled, ParentIndex, Expandable, Expanded, Visible, ClickSelect, Resizable, Style;
    int Width, MinWidth, MaxWidth, SortMode, AllowClick, Alignment, SectionId, SectionIndex;
    int FieldType, Editable, ImageIndex, PictureAlign, Password, ParentColor, Color, FontColor;
    int FilterEnabled, TextLayout, UseMainStyle, AutoSize, Tag;
    bool PopupMenuName; // stored after Text and FieldName
    int HintForm;       // 0 none, 1 narrow, 2 wide
};

namespace {

// clang-format off
constexpr TSectionRecordLayout RecordLayouts[] = {
    // ver size  look par exp exd vis cls res sty  wid min max srt alc aln  id  idx  fty edt img pal pwd pcl col fcl  fen tly ums aus tag  popup hint
    {-12, 140,    4,  8, 12, 13, 14, 15, 16, 17,  20, 24, 28, 32, 33, 34,  36, 40,  44, 45, 48, 52, 53, 54, 56, 60,  64, 65, 66, 67, 68,  true, 2},
    {-11, 140,    4,  8, 12, 13, 14, 15, 16, 17,  20, 24, 28, 32, 33, 34,  36, 40,  44, 45, 48, 52, 53, 54, 56, 60,  64, 65, 66, 67, 68,  true, 1},
    {-10,  68,    4,  8, 12, 13, 14, 15, 16, 17,  20, 24, 28, 32, 33, 34,  36, 40,  44, 45, 48, 52, 53, 54, 56, 60,  64, 65, 66, 67, -1,  true, 1},
    { -9,  64,    4,  8, 12, 13, 14, 15, 16, 17,  20, 24, 28, 32, 33, 34,  -1, 36,  40, 41, 44, 48, 49, 50, 52, 56,  60, 61, 62, 63, -1,  true, 1},
    { -8,  64,    4,  8, 12, 13, 14, 15, 16, 17,  20, 24, 28, 32, 33, 34,  -1, 36,  40, 41, 44, 48, 49, 50, 52, 56,  60, 61, 62, -1, -1,  true, 1},
    { -6,  52,    4,  8, 12, 13, 14, 15, 16, 17,  20, 24, 28, 32, 33, 34,  -1, 36,  40, 41, 44, 48, 49, -1, -1, -1,  -1, -1, -1, -1, -1,  true, 0},
    { -5,  52,    4,  8, 12, 13, 14, 15, 16, 17,  20, 24, 28, 32, 33, 34,  -1, 36,  40, 41, 44, 48, 49, -1, -1, -1,  -1, -1, -1, -1, -1, false, 0},
    { -4,  36,   -1, -1, -1, -1,  0,  1,  2,  3,   4,  8, 12, 16, 17, 18,  -1, 20,  24, 25, 28, 32, 33, -1, -1, -1,  -1, -1, -1, -1, -1, false, 0},
};
// clang-format on

constexpr std::int32_t WrittenVersion = -12;

const TSectionRecordLayout* LayoutFor(std::int32_t Version) {
    if (Version < WrittenVersion)
        Version = WrittenVersion;
    for (const TSectionRecordLayout& L : RecordLayouts)
        if (L.Version == Version)
            return &L;
    return nullptr;
}

class TRecord {
public:
    explicit TRecord(int Size) : FBytes(static_cast<std::size_t>(Size), 0) {}
    unsigned char* Data() { return FBytes.data(); }
    std::size_t Size() const { return FBytes.size(); }

    void PutByte(int At, int Value) {
        if (At >= 0)
            FBytes[static_cast<std::size_t>(At)] = static_cast<unsigned char>(Value);
    }
    void PutInt(int At, std::int32_t Value) {
        if (At >= 0)
            std::memcpy(&FBytes[static_cast<std::size_t>(At)], &Value, sizeof Value);
    }
    void GetBool(int At, bool& Value) const {
        if (At >= 0)
            Value = FBytes[static_cast<std::size_t>(At)] != 0;
    }
    void GetInt(int At, std::int32_t& Value) const {
        if (At >= 0)
            std::memcpy(&Value, &FBytes[static_cast<std::size_t>(At)], sizeof Value);
    }
    // An ordinal beyond the enumeration (a damaged layout) keeps the default.
    template <class TEnum> void GetEnum(int At, TEnum& Value, int Highest) const {
        if (At >= 0 && FBytes[static_cast<std::size_t>(At)] <= Highest)
            Value = static_cast<TEnum>(FBytes[static_cast<std::size_t>(At)]);
    }

private:
    std::vector<unsigned char> FBytes;
};

std::int32_t ReadInt(TStream& Stream) {
    std::int32_t Value = 0;
    Stream.ReadBuffer(&Value, sizeof Value);
    return Value;
}

void WriteInt(TStream& Stream, std::int32_t Value) {
    Stream.WriteBuffer(&Value, sizeof Value);
}

// A stored string whose length is negative reads as empty; one cut short throws EReadError.
std::string ReadCountedBytes(TStream& Stream, std::size_t UnitSize) {
    const std::int32_t Count = ReadInt(Stream);
    if (Count <= 0)
        return {};
    return ReadStreamBytes(Stream, static_cast<std::size_t>(Count) * UnitSize);
}

// Text and FieldName: the count includes a terminating zero; the bytes before the first zero
// are the text.
std::string ReadZeroTerminated(TStream& Stream) {
    std::string Bytes = ReadCountedBytes(Stream, 1);
    const std::size_t Zero = Bytes.find('\0');
    if (Zero != std::string::npos)
        Bytes.resize(Zero);
    return Bytes;
}

void WriteZeroTerminated(TStream& Stream, const std::string& Text) {
    WriteInt(Stream, static_cast<std::int32_t>(Text.size() + 1));
    Stream.WriteBuffer(Text.c_str(), static_cast<std::int64_t>(Text.size() + 1));
}

String ReadWide(TStream& Stream) {
    const std::string Bytes = ReadCountedBytes(Stream, sizeof(wchar_t));
    String Text(Bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(Text.data(), Bytes.data(), Text.size() * sizeof(wchar_t));
    return Text;
}

} // namespace

// Reads and writes one section entry; a friend of the section, so that loading stores the
// fields straight, past the setters and their notices.
class TCvSectionStreamer {
public:
    static void Write(TStream& Stream, const TCvHeaderSection& S) {
        const TSectionRecordLayout& L = RecordLayouts[0];
        TRecord R(L.Size);
        R.PutByte(L.LookupEnabled, S.FLookupEnabled);
        R.PutInt(L.ParentIndex, S.FParentSection ? S.FParentSection->FSectionIndex : -1);
        R.PutByte(L.Expandable, S.FExpandable);
        R.PutByte(L.Expanded, S.FExpanded);
        R.PutByte(L.Visible, S.FVisible);
        R.PutByte(L.ClickSelect, S.FClickSelect);
        R.PutByte(L.Resizable, S.FResizable);
        R.PutByte(L.Style, S.FStyle);
        R.PutInt(L.Width, S.FWidth);
        R.PutInt(L.MinWidth, S.FMinWidth);
        R.PutInt(L.MaxWidth, S.FMaxWidth);
        R.PutByte(L.SortMode, S.FSortMode);
        R.PutByte(L.AllowClick, S.FAllowClick);
        R.PutByte(L.Alignment, S.FAlignment);
        R.PutInt(L.SectionId, S.FSectionId);
        R.PutInt(L.SectionIndex, S.FSectionIndex);
        R.PutByte(L.FieldType, S.FFieldType);
        R.PutByte(L.Editable, S.FEditable);
        R.PutInt(L.ImageIndex, S.FImageIndex);
        R.PutByte(L.PictureAlign, S.FPictureAlign);
        R.PutByte(L.Password, S.FPassword);
        R.PutByte(L.ParentColor, S.FParentColor);
        R.PutInt(L.Color, S.FColor);
        R.PutInt(L.FontColor, S.FFontColor);
        R.PutByte(L.FilterEnabled, S.FFilterEnabled);
        R.PutByte(L.TextLayout, S.FTextLayout);
        R.PutByte(L.UseMainStyle, S.FUseMainStyle);
        R.PutByte(L.AutoSize, S.FAutoSize);
        R.PutInt(L.Tag, S.Tag);
        Stream.WriteBuffer(R.Data(), static_cast<std::int64_t>(R.Size()));
        WriteZeroTerminated(Stream, ToAnsi(S.FText));
        WriteZeroTerminated(Stream, S.FFieldName);
        WriteInt(Stream, static_cast<std::int32_t>(S.FPopupMenuName.size()));
        Stream.WriteBuffer(S.FPopupMenuName.data(),
                           static_cast<std::int64_t>(S.FPopupMenuName.size()));
        WriteInt(Stream, static_cast<std::int32_t>(S.FHint.size()));
        Stream.WriteBuffer(S.FHint.data(),
                           static_cast<std::int64_t>(S.FHint.size() * sizeof(wchar_t)));
    }

    static void Read(TStream& Stream, const TSectionRecordLayout& L, TCvHeaderSection& S) {
        TRecord R(L.Size);
        Stream.ReadBuffer(R.Data(), static_cast<std::int64_t>(R.Size()));
        R.GetBool(L.LookupEnabled, S.FLookupEnabled);
        S.FParentIndexOnLoad = -1;
        R.GetInt(L.ParentIndex, S.FParentIndexOnLoad);
        R.GetBool(L.Expandable, S.FExpandable);
        R.GetBool(L.Expanded, S.FExpanded);
        R.GetBool(L.Visible, S.FVisible);
        R.GetBool(L.ClickSelect, S.FClickSelect);
        R.GetBool(L.Resizable, S.FResizable);
        R.GetEnum(L.Style, S.FStyle, CvhsPictureOnly);
        R.GetInt(L.Width, S.FWidth);
        R.GetInt(L.MinWidth, S.FMinWidth);
        R.GetInt(L.MaxWidth, S.FMaxWidth);
        R.GetEnum(L.SortMode, S.FSortMode, hsmDescend);
        R.GetBool(L.AllowClick, S.FAllowClick);
        R.GetEnum(L.Alignment, S.FAlignment, hsaCenter);
        R.GetInt(L.SectionId, S.FSectionId);
        R.GetInt(L.SectionIndex, S.FSectionIndex);
        R.GetEnum(L.FieldType, S.FFieldType, sftMemo);
        R.GetBool(L.Editable, S.FEditable);
        R.GetInt(L.ImageIndex, S.FImageIndex);
        R.GetEnum(L.PictureAlign, S.FPictureAlign, hsaCenter);
        R.GetBool(L.Password, S.FPassword);
        R.GetBool(L.ParentColor, S.FParentColor);
        R.GetInt(L.Color, S.FColor);
        R.GetInt(L.FontColor, S.FFontColor);
        R.GetBool(L.FilterEnabled, S.FFilterEnabled);
        R.GetEnum(L.TextLayout, S.FTextLayout, tlBottom);
        R.GetBool(L.UseMainStyle, S.FUseMainStyle);
        R.GetBool(L.AutoSize, S.FAutoSize);
        R.GetInt(L.Tag, S.Tag);
        S.FText = FromAnsi(ReadZeroTerminated(Stream));
        S.FFieldName = ReadZeroTerminated(Stream);
        if (L.PopupMenuName)
            S.FPopupMenuName = ReadCountedBytes(Stream, 1);
        if (L.HintForm == 1)
            S.FHint = FromAnsi(ReadCountedBytes(Stream, 1));
        else if (L.HintForm == 2)
            S.FHint = ReadWide(Stream);
    }
};

void TCvHeaderSections::SaveToStream(TStream& Stream) const {
    WriteInt(Stream, WrittenVersion);
    WriteInt(Stream, SectionCount());
    for (const auto& S : FItems)
        TCvSectionStreamer::Write(Stream, *S);
}

void TCvHeaderSections::LoadFromStream(TStream& Stream) {
    const std::int32_t Version = ReadInt(Stream);
    RemoveAllSections();
    const TSectionRecordLayout* Layout = LayoutFor(Version);
    if (Layout) {
        const std::int32_t Count = ReadInt(Stream);
        for (std::int32_t I = 0; I < Count; ++I) {
            TCvHeaderSection* S = AppendSection();
            try {
                TCvSectionStreamer::Read(Stream, *Layout, *S);
            } catch (...) {
                // The sections read before stay, with their stored numbers; the half-read one goes.
                FHeader->SectionDeleted(S);
                FItems.pop_back();
                throw;
            }
        }
        if (Layout->ParentIndex >= 0)
            for (std::int32_t I = 0; I < Count; ++I) {
                TCvHeaderSection* Child = ItemByIndex(I);
                if (!Child || Child->FParentIndexOnLoad < 0)
                    continue;
                TCvHeaderSection* Parent = ItemByIndex(Child->FParentIndexOnLoad);
                if (Parent && Parent != Child && !Parent->IsDescendantOf(Child))
                    Child->FParentSection = Parent;
            }
    }
    FHeader->AdjustHeightToFont();
    FHeader->Invalidate();
}
