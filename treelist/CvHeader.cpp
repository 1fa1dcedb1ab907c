// The header control: layout, fitting, notifications and painting.
#include "treelist/CvHeader.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/StdCtrls.h"
#include "treelist/CvHintWnd.h"
#include "treelist/CvUxTheme.h"
#include "treelist/CvVCLUtils.h"
#include "treelist/HTMLRender.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TColor BitmapKey = clFuchsia; // the see-through colour of the header pictures
constexpr TColor BitmapInk = 0x606060;

// Row R of a picture is inked from Spans[R].first to Spans[R].second, inclusive.
void PaintRows(TBitmap& Bitmap, int Width, int Height,
               std::initializer_list<std::pair<int, int>> Spans) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    TCanvas& Canvas = Bitmap.Canvas();
    Canvas.Brush().SetColor(BitmapKey);
    Canvas.FillRect(TRect(0, 0, Width, Height));
    int Row = 0;
    for (const auto& Span : Spans) {
        for (int X = Span.first; X <= Span.second; ++X)
            Canvas.SetPixel(X, Row, BitmapInk);
        ++Row;
    }
    Bitmap.Transparent = true;
    Bitmap.SetTransparentColor(BitmapKey);
}

void MakeHeaderBitmaps(TCvHeaderBitmaps& B) {
    // The bottom row stays see-through: pixel (0, 5) names the transparent colour.
    PaintRows(B.Ascend, 9, 6, {{4, 4}, {3, 5}, {2, 6}, {1, 7}, {0, 8}});
    PaintRows(B.Descend, 9, 6, {{0, 8}, {1, 7}, {2, 6}, {3, 5}, {4, 4}});
    PaintRows(B.LeftArrow, 5, 7, {{3, 3}, {2, 3}, {1, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 3}});
    PaintRows(B.RightArrow, 5, 7, {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 3}, {1, 2}, {1, 1}});
    PaintRows(B.Point, 5, 5, {{1, 3}, {0, 4}, {0, 4}, {1, 3}});
}

int RoundNearest(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

TFontStyles WithUnderline(TFontStyles Styles) {
    // Naming a style twice adds nothing; fsUnderline stands in for the ones not held.
    return TFontStyles{fsUnderline, Styles.Contains(fsBold) ? fsBold : fsUnderline,
                       Styles.Contains(fsItalic) ? fsItalic : fsUnderline,
                       Styles.Contains(fsStrikeOut) ? fsStrikeOut : fsUnderline};
}

bool IsHTMLCaption(const String& Text) {
    return Text.size() >= 6 && AnsiSameText(Text.substr(0, 6), L"<html>");
}

} // namespace

TColor DragLookColor(TColor Background) {
    const std::uint32_t HLS = RGBToHLS(static_cast<TColor>(ColorToRGB(Background)));
    const int L = static_cast<int>((HLS >> 8) & 0xFF) * 3 / 4;
    return HLSToRGB(PackHLS(static_cast<int>(HLS & 0xFF), L, static_cast<int>(HLS >> 16)));
}

const TCvHeaderBitmaps& HeaderBitmaps() {
    static const std::unique_ptr<TCvHeaderBitmaps> Shared = [] {
        auto B = std::make_unique<TCvHeaderBitmaps>();
        MakeHeaderBitmaps(*B);
        return B;
    }();
    return *Shared;
}

// ------------------------------------------------------------ construction

TCustomCvHeader::TCustomCvHeader(TComponent* AOwner)
    : TCvXPThemedControl(AOwner), FSections(std::make_unique<TCvHeaderSections>(this)),
      FHTML(std::make_unique<TCvHTMLRender>()) {
    SetColor(clBtnFace);
    SetAlign(alTop);
    ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetHeight(std::abs(Font().Height()) + 2 * GetSystemMetrics(SM_CYBORDER) + 6);
    FImageLink.OnChange = [this](TObject*) { ImagesChanged(); };
    FHTML->OnImageNeeded = [this](TObject*, const String& Src, HBITMAP& Image) {
        if (OnHTMLImageNeeded)
            OnHTMLImageNeeded(this, Src, Image);
    };
}

TCustomCvHeader::~TCustomCvHeader() {
    // The box goes while the header is whole: its exit handler is the header's.
    FLookupSection = nullptr;
    delete std::exchange(FLookupBox, nullptr);
    CancelGestures();
    FSections->RemoveAllSections();
}

// ------------------------------------------------------------ properties

int TCustomCvHeader::SectionsWidth() const {
    const TCvHeaderSections& All = *FSections;
    for (int I = All.SectionCount() - 1; I >= 0; --I) {
        TCvHeaderSection* S = All.ItemAt(I);
        if (S->Visible() && (S != FLockedSection || All.SectionCount() == 1))
            return S->RightEdge();
    }
    return 0;
}

void TCustomCvHeader::SetTracking(bool Value) {
    if (FTracking == Value)
        return;
    FTracking = Value;
    if (!Value && !IsThemed())
        ForgetHot();
}

void TCustomCvHeader::CreateParams(TCreateParams& Params) const {
    TCvXPThemedControl::CreateParams(Params);
    Params.WinClassName = L"TCvHeader";
    if (FRightAlignedText)
        Params.ExStyle |= WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
}

void TCustomCvHeader::SetRightAlignedText(bool Value) {
    if (FRightAlignedText == Value)
        return;
    FRightAlignedText = Value;
    if (HandleAllocated())
        RecreateWnd();
    Invalidate();
}

void TCustomCvHeader::SetRightAlignedOrder(bool Value) {
    if (FRightAlignedOrder == Value)
        return;
    FRightAlignedOrder = Value;
    if (!IsLoading())
        ReverseSections();
}

void TCustomCvHeader::ReverseSections() {
    const int Count = FSections->SectionCount();
    LockUpdates();
    try {
        // Each section in turn goes to the front; the locked one stays where it is.
        for (int I = 1; I < Count; ++I)
            FSections->MoveSection(FSections->ItemAt(I), 0);
    } catch (...) {
        UnlockUpdates();
        throw;
    }
    UnlockUpdates();
}

void TCustomCvHeader::SetStickySections(bool Value) {
    if (FStickySections == Value)
        return;
    FStickySections = Value;
    if (Value && !IsLoading()) {
        ComputeWidthShares();
        FLastStickyWidth = ClientWidth();
    }
}

void TCustomCvHeader::SetInvertSortArrows(bool Value) {
    FInvertSortArrows = Value;
    Invalidate();
}

void TCustomCvHeader::SetFlat(bool Value) {
    if (FFlat == Value)
        return;
    FFlat = Value;
    AdjustHeightToFont();
    Invalidate();
}

void TCustomCvHeader::SetLockHeight(bool Value) {
    if (FLockHeight == Value)
        return;
    FLockHeight = Value;
    if (!Value && !(Parent() && Parent()->ComponentState().Contains(csLoading)))
        AdjustHeightToFont();
}

void TCustomCvHeader::SetWrapCaptions(bool Value) {
    if (FWrapCaptions == Value)
        return;
    FWrapCaptions = Value;
    AdjustHeightToFont();
    Invalidate();
}

void TCustomCvHeader::SetImages(TCustomImageList* Value) {
    if (FImages == Value)
        return;
    if (FImages) {
        FImages->UnRegisterChanges(&FImageLink);
        FImages->RemoveFreeNotification(this);
    }
    FImages = Value;
    if (FImages) {
        FImages->RegisterChanges(&FImageLink);
        FImages->FreeNotification(this);
    }
    ImagesChanged();
}

void TCustomCvHeader::ImagesChanged() {
    if (!FLockHeight)
        AdjustHeightToFont();
    if (!FPainting)
        Invalidate();
}

void TCustomCvHeader::SetFilterColor(TColor Value) {
    if (FFilterColor == Value)
        return;
    FFilterColor = Value;
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (S->FilterEnabled() && !S->FilterIsActive())
            S->InvalidateSection();
    }
}

void TCustomCvHeader::SetActiveFilterColor(TColor Value) {
    if (FActiveFilterColor == Value)
        return;
    FActiveFilterColor = Value;
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (S->FilterEnabled() && S->FilterIsActive())
            S->InvalidateSection();
    }
}

void TCustomCvHeader::SetWideHint(const String& Value) {
    FWideHint = Value;
    Hint = PackedHintString(Value);
}

void TCustomCvHeader::SetScrollOffset(int Value) {
    FScrollOffset = Value;
    Invalidate();
}

bool TCustomCvHeader::IsLoading() const {
    return ComponentState().Contains(csLoading) ||
           (Owner() && Owner()->ComponentState().Contains(csLoading));
}

bool TCustomCvHeader::IsThemed() const {
    return IsThemeApplied();
}

void TCustomCvHeader::Notification(TComponent* AComponent, TOperation Operation) {
    TCvXPThemedControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (AComponent == FLookupBox) {
        FLookupBox = nullptr;
        FLookupSection = nullptr;
    }
    for (int I = 0; I < FSections->SectionCount(); ++I)
        if (FSections->ItemAt(I)->PopupMenu() == AComponent)
            FSections->ItemAt(I)->SetPopupMenu(nullptr);
}

void TCustomCvHeader::Loaded() {
    TCvXPThemedControl::Loaded();
    if (TForm* Form = FindParentForm(this)) {
        for (int I = 0; I < FSections->SectionCount(); ++I) {
            TCvHeaderSection* S = FSections->ItemAt(I);
            if (!S->PopupMenuName().empty())
                if (auto* Menu = dynamic_cast<TPopupMenu*>(
                        Form->FindComponent(FromAnsi(S->PopupMenuName()))))
                    S->SetPopupMenu(Menu);
        }
        if (FStickySections)
            ComputeWidthShares();
        if (FRightAlignedOrder)
            ReverseSections();
        AdjustHeightToFont();
    }
}

void TCustomCvHeader::FontChanged() {
    TCvXPThemedControl::FontChanged();
    if (!FLockHeight)
        AdjustHeightToFont();
    Invalidate();
}

// ------------------------------------------------------------ geometry

int TCustomCvHeader::ShiftOf(const TCvHeaderSection* Section) const {
    return Section == FLockedSection ? 0 : FScrollOffset;
}

TCvHeaderSection* TCustomCvHeader::SectionAt(int X, int Y) const {
    const bool YInside = Y >= 0 && Y <= Height();
    if (FLockedSection && FLockedSection->Visible() && X >= 0 && X < FLockedSection->Width())
        return YInside ? FLockedSection : nullptr;
    int Sum = 0;
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (!S->Visible())
            continue;
        Sum += S->Width();
        if (X + FScrollOffset < Sum)
            return YInside ? S : nullptr;
    }
    return nullptr;
}

TRect TCustomCvHeader::SectionRect(int SectionIndex) const {
    const TCvHeaderSection* S = FSections->ItemByIndex(SectionIndex);
    if (!S)
        return TRect();
    const int Left = S->LeftEdge();
    TRect R(Left, 0, Left + S->Width(), ClientHeight());
    if (S == FLockedSection) {
        R.Left += FScrollOffset;
        R.Right += FScrollOffset;
    }
    return R;
}

void TCustomCvHeader::InvalidateFrom(int SectionIndex) {
    if (SectionIndex < 0 || SectionIndex > FSections->SectionCount() - 1)
        throw ECvHeaderError(L"Index out of bounds");
    InvalidateFromSection(FSections->ItemByIndex(SectionIndex));
}

void TCustomCvHeader::InvalidateFromSection(const TCvHeaderSection* Section) {
    if (!HandleAllocated() || !Section)
        return;
    const TRect Client = ClientRect();
    const RECT Area{std::max(0, Section->LeftEdge() - ShiftOf(Section)), 0, Client.Right,
                    Client.Bottom};
    InvalidateRect(Handle(), &Area, FALSE);
}

// ------------------------------------------------------------ update lock

void TCustomCvHeader::LockUpdates() {
    ++FUpdateLock;
}

void TCustomCvHeader::UnlockUpdates() {
    if (FUpdateLock == 0 || --FUpdateLock > 0)
        return;
    if (std::exchange(FPendingDelete, false))
        NotifySectionDelete(nullptr);
    if (std::exchange(FPendingCreate, false))
        NotifySectionCreate(nullptr);
    Update();
}

void TCustomCvHeader::Update() {
    if (FUpdateLock == 0)
        TCvXPThemedControl::Update();
}

void TCustomCvHeader::SectionDeleted(TCvHeaderSection* Section) {
    if (FLockedSection == Section)
        FLockedSection = nullptr;
    if (FPressedSection == Section)
        FPressedSection = nullptr;
    if (FHotSection == Section)
        FHotSection = nullptr;
    if (FDropSection == Section)
        FDropSection = nullptr;
    if (FDragSection == Section || FResizeSection == Section)
        CancelGestures();
    if (FHintSection == Section)
        FHintSection = nullptr;
    if (FLookupSection == Section) {
        // Its box goes without a notice: the section it would name is gone.
        FLookupSection = nullptr;
        if (FLookupBox)
            FLookupBox->Hide();
    }
}

// ------------------------------------------------------------ measuring

void TCustomCvHeader::MeasureCaption(TCvHeaderSection* Section, TCanvas& Canvas, int& TextWidth,
                                     int& TextHeight) {
    const String& Text = Section->Text();
    if (IsHTMLCaption(Text)) {
        SetHTMLDefaults(FHTML->Data(), Font(), Color());
        FHTML->ParseMarkup(Text);
        TextWidth = FHTML->Data().TextSize.cx;
        TextHeight = FHTML->Data().TextSize.cy;
        return;
    }
    if (Text.empty()) {
        TextWidth = 0;
        TextHeight = std::abs(Canvas.Font().Height());
        return;
    }
    TRect R(0, 0, 0, 0);
    const UINT Flags = DT_CALCRECT | DT_NOPREFIX | (FWrapCaptions ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextWide(Canvas.Handle(), Text.c_str(), -1, R, Flags);
    TextWidth = R.Width();
    TextHeight = R.Height();
}

int TCustomCvHeader::SectionImage(TCvHeaderSection* Section) {
    if (!FImages)
        return -1;
    const int Index =
        Section->ImageIndex() == -1 ? GetSectionPicture(Section) : Section->ImageIndex();
    return Index >= 0 && Index < FImages->Count() ? Index : -1;
}

int TCustomCvHeader::MeasureSectionWidth(TCvHeaderSection* Section, int& TextWidth, int& Height) {
    TextWidth = 0;
    Height = 0;
    int Result = 10;
    if (Section->Expandable() || Section->LookupEnabled())
        Result += 8;
    Result += 12;
    if (Section->Style() == CvhsOwnerDraw) {
        TSize Size{0, 0};
        NotifyMeasureSection(Section, Size);
        Result += Size.cx;
        Height = Size.cy;
    } else {
        if (SectionImage(Section) >= 0)
            Result += FImages->Width();
        if (Section->Style() == CvhsText) {
            const TMemoryDC DC(nullptr);
            TCanvas Canvas;
            const TCanvasDC Attached(Canvas, DC.Handle());
            Canvas.Font().Assign(Font());
            MeasureCaption(Section, Canvas, TextWidth, Height);
            Result += TextWidth;
        }
    }
    return std::max(Result, Section->MinWidth());
}

int TCustomCvHeader::MeasuredHeight() {
    int Tallest = 0;
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (!S->Visible() || S->Style() != CvhsText)
            continue;
        const TMemoryDC DC(nullptr);
        TCanvas Canvas;
        const TCanvasDC Attached(Canvas, DC.Handle());
        Canvas.Font().Assign(Font());
        int TextWidth = 0;
        int TextHeight = 0;
        MeasureCaption(S, Canvas, TextWidth, TextHeight);
        Tallest = std::max(Tallest, TextHeight);
    }
    int Result = std::max(Tallest + 4, 17);
    if (FImages)
        Result = std::max(Result, FImages->Height() + 4);
    if (!FFlat)
        Result += 2;
    return Result;
}

void TCustomCvHeader::AdjustHeightToFont() {
    if (FLockHeight || !HandleAllocated() || IsLoading())
        return;
    SetClientHeight(MeasuredHeight());
    EnsureButtonHeight();
}

void TCustomCvHeader::EnsureButtonHeight() {
    if (Height() < 1 || Height() > 16)
        return;
    for (int I = 0; I < FSections->SectionCount(); ++I)
        if (FSections->ItemAt(I)->LookupEnabled() || FSections->ItemAt(I)->FilterEnabled()) {
            SetHeight(17);
            return;
        }
}

// ------------------------------------------------------------ fitting

void TCustomCvHeader::ComputeWidthShares() {
    int Space = HeaderWidth();
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        const TCvHeaderSection* S = FSections->ItemAt(I);
        if (S->Visible() && !S->Resizable())
            Space -= S->Width();
    }
    const double Divisor = (Space == 0 && FStickySections) ? 1 : Space;
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (S->Visible() && S->Resizable())
            S->FShareOfWidth = Divisor == 0 ? 0.0f : static_cast<float>(S->Width() / Divisor);
    }
}

int TCustomCvHeader::VisibleWidthSum() const {
    int Sum = 0;
    for (int I = 0; I < FSections->SectionCount(); ++I)
        if (FSections->ItemAt(I)->Visible())
            Sum += FSections->ItemAt(I)->Width();
    return Sum;
}

void TCustomCvHeader::FitSections(const TCvHeaderSection* Except) {
    const int ClientW = ClientWidth();
    if (ClientW <= 0)
        return; // nothing to fit into yet
    const int Count = FSections->SectionCount();
    auto LastWhere = [&](auto Take) -> TCvHeaderSection* {
        for (int I = Count - 1; I >= 0; --I) {
            TCvHeaderSection* S = FSections->ItemAt(I);
            if (S->Visible() && Take(S))
                return S;
        }
        return nullptr;
    };
    while (VisibleWidthSum() >= ClientW) {
        TCvHeaderSection* S = LastWhere([&](const TCvHeaderSection* C) {
            return C->Resizable() && C->Width() > 0 && C != Except;
        });
        if (!S)
            break;
        S->FWidth = std::max(0, S->FWidth - (VisibleWidthSum() - ClientW + 1));
    }
    while (VisibleWidthSum() >= ClientW) {
        TCvHeaderSection* S = LastWhere([&](const TCvHeaderSection* C) {
            return (!C->Resizable() || C == Except) && C->Width() >= 1;
        });
        if (!S)
            break;
        if (S->FSavedWidth < 0)
            S->FSavedWidth = S->FWidth;
        S->FWidth = std::max(0, S->FWidth - (VisibleWidthSum() - ClientW + 1));
    }
    for (int I = Count - 1; I >= 0 && VisibleWidthSum() < ClientW - 1; --I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (!S->Visible() || S->Resizable() || S->FSavedWidth < 0 || S->FWidth >= S->FSavedWidth)
            continue;
        S->FWidth = std::min(S->FSavedWidth, S->FWidth + (ClientW - 1 - VisibleWidthSum()));
        if (S->FWidth < S->FSavedWidth)
            break;
        S->FSavedWidth = -1;
    }
    if (TCvHeaderSection* S =
            LastWhere([&](const TCvHeaderSection* C) { return C->Resizable() && C != Except; }))
        S->FWidth = std::max(0, S->FWidth + ClientW - VisibleWidthSum() - 1);
}

void TCustomCvHeader::ApplyStickyWidths() {
    const int ClientW = ClientWidth();
    const TFlagScope Applying(FApplyingSticky);
    if (ClientW > FLastStickyWidth)
        for (int I = 0; I < FSections->SectionCount(); ++I) {
            TCvHeaderSection* S = FSections->ItemAt(I);
            if (!S->Visible() || S->Resizable() || S->FSavedWidth < 0)
                continue;
            const int Saved = S->FSavedWidth;
            S->SetWidth(std::min(Saved, ClientW));
            if (S->FWidth == Saved)
                S->FSavedWidth = -1;
        }
    int Space = HeaderWidth();
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        const TCvHeaderSection* S = FSections->ItemAt(I);
        if (S->Visible() && !S->Resizable())
            Space -= S->Width();
    }
    if (Space == 0)
        Space = 1;
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (S->Visible() && S->Resizable())
            S->SetWidth(RoundNearest(S->FShareOfWidth * static_cast<double>(Space)));
    }
    FitSections(nullptr);
    FLastStickyWidth = ClientW;
}

void TCustomCvHeader::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCvXPThemedControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    SizeChanged();
}

void TCustomCvHeader::WMWindowPosChanged(TWMWindowPosChanged& Message) {
    TCvXPThemedControl::WMWindowPosChanged(Message);
    SizeChanged();
}

void TCustomCvHeader::SizeChanged() {
    if (FSizing)
        return;
    {
        const TFlagScope Sizing(FSizing);
        EnsureButtonHeight();
        if (FStickySections && !IsLoading() && ClientWidth() != FLastStickyWidth)
            ApplyStickyWidths();
    }
    const TSize Now{Width(), Height()};
    if (Now.cx == FNotifiedSize.cx && Now.cy == FNotifiedSize.cy)
        return;
    FNotifiedSize = Now;
    if (OnResize)
        OnResize(this);
}

// ------------------------------------------------------------ notifications

int TCustomCvHeader::GetSectionPicture(TCvHeaderSection* Section) {
    int Index = -1;
    if (OnPictureNeeded)
        OnPictureNeeded(this, Section, Index);
    return Index;
}

#define CV_NOTIFY(Method, Event)                                                                   \
    void TCustomCvHeader::Method(TCvHeaderSection* Section) {                                      \
        if (Event)                                                                                 \
            Event(this, Section);                                                                  \
    }
CV_NOTIFY(NotifySectionShowHide, OnSectionShowHide)
CV_NOTIFY(NotifySectionDelete, OnSectionDelete)
CV_NOTIFY(NotifySectionResize, OnSectionResize)
CV_NOTIFY(NotifySectionClick, OnSectionClick)
CV_NOTIFY(NotifySectionExpand, OnSectionExpand)
CV_NOTIFY(NotifySectionCollapse, OnSectionCollapse)
CV_NOTIFY(NotifySectionCreate, OnSectionCreate)
CV_NOTIFY(NotifySectionAutoSize, OnSectionAutoSize)
CV_NOTIFY(NotifyFilterCall, OnFilterCall)
#undef CV_NOTIFY

void TCustomCvHeader::NotifySectionMove(TCvHeaderSection* Section, int OldPos, int NewPos) {
    if (OnSectionMove)
        OnSectionMove(this, Section, OldPos, NewPos);
}

void TCustomCvHeader::NotifySectionResizing(TCvHeaderSection* Section,
                                            TCvSectionResizingState State, int NewWidth) {
    if (OnSectionResizing)
        OnSectionResizing(this, Section, State, NewWidth);
}

void TCustomCvHeader::NotifySectionDraw(TCanvas& Canvas, TCvHeaderSection* Section, const TRect& R,
                                        bool Pressed) {
    if (OnSectionDraw)
        OnSectionDraw(this, Canvas, Section, R, Pressed);
}

void TCustomCvHeader::NotifySectionChange(TCvHeaderSection* Section, TSectionChangeMode Change) {
    if (OnSectionChange)
        OnSectionChange(this, Section, Change);
}

void TCustomCvHeader::NotifyHeaderLookup(TCvHeaderSection* Section, String& Text) {
    if (OnHeaderLookup)
        OnHeaderLookup(this, Section, Text);
}

void TCustomCvHeader::NotifyHeaderLookupDone(TCvHeaderSection* Section, const String& Text,
                                             bool Accepted) {
    if (OnHeaderLookupDone)
        OnHeaderLookupDone(this, Section, Text, Accepted);
}

void TCustomCvHeader::NotifyMeasureSection(TCvHeaderSection* Section, TSize& Size) {
    if (OnMeasureSection)
        OnMeasureSection(this, Section, Size);
}

// ------------------------------------------------------------ painting

void TCustomCvHeader::Paint() {
    const TFlagScope Painting(FPainting);
    TCanvas& C = Canvas();
    const TRect Clip = C.ClipRect();
    for (int I = 0; I < FSections->SectionCount(); ++I) {
        TCvHeaderSection* S = FSections->ItemAt(I);
        if (S == FLockedSection || !S->Visible())
            continue;
        TRect R = SectionRect(S->SectionIndex());
        R.Left -= FScrollOffset;
        R.Right -= FScrollOffset;
        if (R.Intersects(Clip))
            DrawSection(C, S, false, R);
    }
    if (FLockedSection && FLockedSection->Visible()) {
        TRect R = SectionRect(FLockedSection->SectionIndex());
        R.Left -= FScrollOffset;
        R.Right -= FScrollOffset;
        if (R.Intersects(Clip))
            DrawSection(C, FLockedSection, false, R);
    }
    PaintRest(C);
    if (FDragSection && FDragImage) {
        TRect R = SectionRect(FDragSection->SectionIndex());
        const int Moved = FLastDragX - FMouseDown.X - ShiftOf(FDragSection);
        C.Draw(R.Left + Moved, R.Top, *FDragImage);
    }
}

void TCustomCvHeader::PaintRest(TCanvas& C) {
    const TRect Rest(SectionsWidth() - FScrollOffset, 0, ClientWidth(), ClientHeight());
    if (Rest.IsEmpty())
        return;
    if (IsThemed() && SUCCEEDED(DrawThemePart(Theme(), C.Handle(), 0, 1, Rest)))
        return;
    FillRectColor(C.Handle(), Rest, Color());
    RECT Edge = Rest;
    DrawEdge(C.Handle(), &Edge, BDR_RAISEDINNER, BF_RECT);
}

void TCustomCvHeader::DrawImage(TCanvas& Canvas, int Index, int X, int Y, const TRect& Clip) {
    const TSaveDC Saved(Canvas.Handle());
    IntersectClipRect(Canvas.Handle(), Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
    FImages->Draw(Canvas, X, Y, Index);
}

void TCustomCvHeader::DrawSection(TCanvas& Canvas, TCvHeaderSection* Section, bool DragLook,
                                  const TRect& R) {
    const HDC DC = Canvas.Handle();
    const bool Pressed =
        (Section == FPressedSection && FPressed) || (Section == FDragSection && !DragLook);
    TColor Back = Section->ParentColor() ? Color() : Section->Color();
    if (DragLook)
        Back = DragLookColor(Back);
    TRect Content = R;
    const bool Themed = IsThemed();
    bool DrewThemed = false;
    if (Themed) {
        int State = 1;
        if (Pressed)
            State = 3;
        else if (Section == FHotSection || (DragLook && Section == FDragSection))
            State = 2;
        DrewThemed = SUCCEEDED(DrawThemePart(Theme(), DC, 1, State, R));
    }
    if (!DrewThemed) {
        FillRectColor(DC, R, Back);
        RECT Inner{R.Left, R.Top, R.Right - 1, R.Bottom - 1};
        if (Pressed) {
            if (FFlat) {
                DrawEdge(DC, &Inner, BDR_SUNKENOUTER, BF_RECT);
            } else {
                DrawEdge(DC, &Inner, BDR_SUNKENINNER, BF_TOPLEFT);
                DrawEdge(DC, &Inner, BDR_SUNKENOUTER, BF_BOTTOMRIGHT);
            }
            Content = TRect(Content.Left + 2, Content.Top + 2, Content.Right, Content.Bottom);
        } else if (FFlat) {
            RECT Full = R;
            DrawEdge(DC, &Full, BDR_RAISEDINNER, BF_RECT);
        } else {
            RECT Full = R;
            DrawEdge(DC, &Full, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
            DrawEdge(DC, &Inner, BDR_RAISEDINNER, BF_TOPLEFT);
            RECT Lower{Inner.left + 1, Inner.top + 1, Inner.right, Inner.bottom};
            DrawEdge(DC, &Lower, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
            Content.Right -= 1;
            Content.Bottom -= 1;
        }
        Content.Left += 1;
        Content.Top += 1;
        Content.Bottom -= 1;
    }
    Content.Right -= 4;

    const TCvHeaderBitmaps& Pictures = HeaderBitmaps();
    if ((Section->Expandable() || Section->LookupEnabled()) && Content.Width() > 7) {
        if (Section->Expandable())
            DrawArrow(DC, Section->Expanded() ? adLeft : adRight,
                      TRect(Content.Right - 5, Content.Top, Content.Right, Content.Top + 7),
                      clBtnText, true);
        if (Section->LookupEnabled()) {
            const TSaveDC Saved(DC);
            IntersectClipRect(DC, Content.Right - 5, Content.Top + 10, Content.Right,
                              std::min(Content.Top + 14, Content.Bottom));
            Canvas.Draw(Content.Right - 5, Content.Top + 10, const_cast<TBitmap&>(Pictures.Point));
        }
        Content.Right -= 8;
    }
    const bool SortMark = Section->SortMode() != hsmNone && Section->ShowSortMark();
    if (Section->FilterEnabled() && Content.Width() > 9) {
        const TColor Fill = Section->FilterIsActive() ? FActiveFilterColor : FFilterColor;
        const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Fill)));
        const TGdiObject<HPEN> Pen(CreatePen(PS_SOLID, 1, ColorToRGB(Fill)));
        const TSelectObject UseBrush(DC, Brush.Get());
        const TSelectObject UsePen(DC, Pen.Get());
        const POINT Points[3] = {{Content.Right - 4, Content.Top + 10},
                                 {Content.Right, Content.Top + 10},
                                 {Content.Right - 2, std::min(Content.Top + 14, Content.Bottom)}};
        Polygon(DC, Points, 3);
        if (!SortMark)
            Content.Right -= 6;
    }
    if (SortMark) {
        if (Content.Width() < 13) {
            Content.Right = Content.Left; // no room left for a mark or a caption
        } else {
            const bool Up = (Section->SortMode() == hsmAscend) != FInvertSortArrows;
            TBitmap& Mark = const_cast<TBitmap&>(Up ? Pictures.Ascend : Pictures.Descend);
            Canvas.Draw(Content.Right - Mark.Width(),
                        Content.Top + (Content.Bottom - Content.Top) / 2 - 3, Mark);
            Content.Right -= 12;
        }
    }

    TRect Text = Content;
    Text.Left += 5;
    if (Text.Right <= Text.Left)
        return;
    const int Image = Section->Style() == CvhsOwnerDraw || FImages ? SectionImage(Section) : -1;
    switch (Section->Style()) {
    case CvhsOwnerDraw:
        NotifySectionDraw(Canvas, Section, Text, Pressed);
        if (Image >= 0 && Section->PictureAlign() == hsaRight)
            DrawImage(Canvas, Image, Text.Left, Text.Top + (Text.Height() - FImages->Height()) / 2,
                      Text);
        return;
    case CvhsPictureOnly:
        if (Image >= 0)
            DrawImage(Canvas, Image, Text.Left + (Text.Width() - FImages->Width()) / 2,
                      Text.Top + (Text.Height() - FImages->Height()) / 2, Text);
        return;
    case CvhsText:
        break;
    }
    if (Image >= 0 && Section->PictureAlign() == hsaLeft) {
        DrawImage(Canvas, Image, Text.Left, Text.Top + (Text.Height() - FImages->Height()) / 2,
                  Text);
        Text.Left += FImages->Width();
    }
    DrawCaption(Canvas, Section, Text, Back, Themed && DrewThemed);
    if (Image >= 0 && Section->PictureAlign() == hsaRight) {
        const int After = Text.Left + Canvas.TextWidth(Section->Text()) + 3;
        if (After + FImages->Width() <= Text.Right)
            DrawImage(Canvas, Image, After, Text.Top + (Text.Height() - FImages->Height()) / 2,
                      Text);
    }
}

void TCustomCvHeader::DrawCaption(TCanvas& Canvas, TCvHeaderSection* Section, const TRect& Area,
                                  TColor Back, bool Themed) {
    const String& Caption = Section->Text();
    if (Caption.empty())
        return;
    Canvas.Font().Assign(Font());
    if (IsHTMLCaption(Caption)) {
        SetHTMLDefaults(FHTML->Data(), Font(), Back);
        FHTML->ParseMarkup(Caption);
        FHTML->PaintMarkup(Canvas.Handle(), TPoint{0, 0}, Area, CvColorNone);
        return;
    }
    UINT Flags = DT_NOPREFIX;
    TCvSAlignment Align = Section->Alignment();
    if (FRightAlignedText) {
        Flags |= DT_RTLREADING;
        if (Align == hsaLeft)
            Align = hsaRight;
        else if (Align == hsaRight)
            Align = hsaLeft;
    }
    Flags |= Align == hsaCenter ? DT_CENTER : (Align == hsaRight ? DT_RIGHT : DT_LEFT);
    Flags |= Section->TextLayout() == tlTop
                 ? DT_TOP
                 : (Section->TextLayout() == tlBottom ? DT_BOTTOM : DT_VCENTER);
    if (FWrapCaptions)
        Flags |= DT_WORDBREAK;
    else if (Caption.find(L"\r\n") == String::npos)
        Flags |= DT_SINGLELINE | DT_END_ELLIPSIS;
    TColor TextColor = Section->ParentColor() ? Font().Color() : Section->FontColor();
    if (Section == FHotSection && !Themed) {
        TextColor = clHighlight;
        Canvas.Font().SetStyle(WithUnderline(Font().Style()));
    }
    Canvas.Font().SetColor(TextColor);
    Canvas.Brush().SetStyle(bsClear);
    const HDC DC = Canvas.Handle();
    const TSelectObject UseFont(DC, Canvas.Font().Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(TextColor));
    TRect R = Area;
    DrawTextWide(DC, Caption.c_str(), -1, R, Flags);
}
