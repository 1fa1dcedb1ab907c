#include "app/FlatForm.h"

#include "app/Help.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"

TFlatFormSystem* FlatFormSystem = nullptr;

namespace {

const wchar_t* const FramePieceNames[FramePieceCount] = {
    L"TopLeft",    L"Top",    L"TopRight",    L"Left",        L"Right",
    L"BottomLeft", L"Bottom", L"BottomRight", L"TopLeftMask", L"TopRightMask",
};

// A title-button picture read straight from its file; one that cannot be read leaves the
// picture empty and the button plain, and the window still opens.
void LoadTitlePicture(TBitmap& Picture, const String& FileName) {
    try {
        Picture.LoadFromFile(FileName);
    } catch (const Exception&) {
        Picture.SetSize(0, 0);
    }
}

} // namespace

// --------------------------------------------------------- TFlatFormSystem

TFlatFormSystem::TFlatFormSystem(const String& ADataPath) : DataPath(ADataPath) {
    for (int I = 0; I < FramePieceCount; ++I)
        FPieces[I].LoadFromResourceName(GetModuleHandleW(nullptr), FramePieceNames[I]);
    if (!FlatFormSystem)
        FlatFormSystem = this;
}

TFlatFormSystem::~TFlatFormSystem() {
    if (FlatFormSystem == this)
        FlatFormSystem = nullptr;
}

void TFlatFormSystem::AssignFrame(TFlatForm& Form) {
    for (int I = 0; I < FramePieceCount; ++I)
        Form.FFrame[I] = &FPieces[I];
}

// --------------------------------------------------------------- TFlatForm

TFlatForm::TFlatForm(TComponent* AOwner) : TForm(AOwner) {
    SetBorderStyle(bsNone);
    RegionMaker = new TNonRectForm(this);

    TitleLabel = new TLabel(this);
    TitleLabel->SetAutoSize(false);
    TitleLabel->SetParentFont(false);
    TitleLabel->SetParentColor(true);
    TitleLabel->Font().SetName(L"Verdana");
    TitleLabel->Font().SetSize(9);
    TitleLabel->Font().SetStyle({fsBold});
    TitleLabel->Font().SetColor(clWhite);
    TitleLabel->SetTransparent(true);
    TitleLabel->SetLayout(tlCenter);
    TitleLabel->SetParent(this);

    const String Folder = FlatFormSystem ? FlatFormSystem->DataPath + L"Buttons\\Main\\" : String();
    CloseButton = MakeTitleButton(CloseImages, Folder + L"x", 22);
    CloseButton->OnClick = [this](TObject* Sender) { CloseButtonClick(Sender); };
    HelpButton = MakeTitleButton(HelpImages, Folder + L"minimize", 48);
    HelpButton->OnClick = [this](TObject*) { ShowHelp(); };
    HelpButton->Hide();

    if (FlatFormSystem) {
        FlatFormSystem->AssignFrame(*this);
        SetTitleBarHeight(FFrame[fpTop]->Height());
    } else {
        SetTitleBarHeight(37);
    }
    PlaceTitleParts();
}

TFlatForm::~TFlatForm() = default;

TavImageExpandButton* TFlatForm::MakeTitleButton(TavImageList*& Images, const String& Picture,
                                                 int Left) {
    Images = new TavImageList(this);
    LoadTitlePicture(Images->Image(siNormalMiddle), Picture + L".bmp");
    LoadTitlePicture(Images->Image(siHoverMiddle), Picture + L".over.bmp");
    auto* Button = MakeNamedChild<TavImageExpandButton>(
        *this, *this, String(), Bounds(Width() - FrameMargin - Left, 4, 19, 22));
    Button->SetImageList(Images);
    Button->Anchors = TAnchors{akTop, akRight};
    Button->BringToFront();
    Button->Tag = -1; // no glyph from the skin pass
    return Button;
}

void TFlatForm::AfterConstruction() {
    // The window's own OnShow is bound by now: it runs after the skin pass, at the first show.
    FSavedOnShow = OnShow;
    OnShow = [this](TObject*) { FirstShow(); };
    TForm::AfterConstruction();
}

void TFlatForm::FirstShow() {
    ApplySkinAndLanguage(*this);
    if (FSavedOnShow)
        FSavedOnShow(this);
    OnShow = nullptr; // last: this handler is what is running
}

void TFlatForm::SetBorderColor(TColor Value) {
    FBorderColor = Value;
    Invalidate();
}

void TFlatForm::SetTitleBarHeight(int Value) {
    FTitleBarHeight = Value;
    TitleLabel->SetHeight(Value);
    CloseButton->SetTop(5);
    HelpButton->SetTop(5);
    Invalidate();
}

void TFlatForm::SetFormCaption(const String& Value) {
    SetCaption(Value);
    TitleLabel->SetCaption(Value);
}

// The title parts follow the window's width: the label spans the band, the buttons keep their
// distance from the right edge.
void TFlatForm::PlaceTitleParts() {
    TitleLabel->SetBounds(15, 3, Width() - 14, FTitleBarHeight);
    CloseButton->SetLeft(Width() - FrameMargin - 22);
    HelpButton->SetLeft(Width() - FrameMargin - 48);
}

void TFlatForm::ShowFlat() {
    if (Width() != FLastSkinWidth || Height() != FLastSkinHeight) {
        BuildSkin();
        FLastSkinWidth = Width();
        FLastSkinHeight = Height();
    }
    Show();
    // Shown while already visible, the first-show hook did not run: run it now.
    if (OnShow)
        OnShow(this);
}

TModalResult TFlatForm::ShowFlatModal() {
    if (Width() != FLastSkinWidth || Height() != FLastSkinHeight) {
        BuildSkin();
        FLastSkinWidth = Width();
        FLastSkinHeight = Height();
    }
    return ShowModal();
}

TavImageExpandButton* TFlatForm::MakeDialogButton(const String& Name, const TRect& Bounds,
                                                  TModalResult Result) {
    auto* Button = MakeNamedChild<TavImageExpandButton>(*this, *this, Name, Bounds);
    Button->Tag = -1;
    if (frmDM)
        Button->SetImageList(frmDM->avILBig);
    Button->ModalResult = Result;
    return Button;
}

TavImageExpandButton* TFlatForm::MakeListButton(const String& Name, const TRect& Bounds,
                                                int Glyph) {
    auto* Button = MakeNamedChild<TavImageExpandButton>(*this, *this, Name, Bounds);
    Button->Tag = Glyph;
    if (frmDM)
        Button->SetImageList(frmDM->avILInside);
    return Button;
}

void TFlatForm::BuildSkin() {
    try {
        PlaceTitleParts();
        const int W = Width();
        const int H = Height();
        TBitmap Picture;
        Picture.SetPixelFormat(pf24bit);
        Picture.SetSize(W, H);
        TCanvas& C = Picture.Canvas();
        C.Brush().SetColor(Color());
        C.FillRect(TRect(0, 0, W, H));
        if (FFrame[fpTop]) {
            // Each piece once, unscaled: beyond 806 x 531 the fill colour shows in the gaps.
            TBitmap& TopLeft = *FFrame[fpTopLeft];
            TBitmap& TopRight = *FFrame[fpTopRight];
            TBitmap& Bottom = *FFrame[fpBottom];
            TBitmap& Right = *FFrame[fpRight];
            TBitmap& BottomRight = *FFrame[fpBottomRight];
            TBitmap& BottomLeft = *FFrame[fpBottomLeft];
            C.Draw(0, 0, TopLeft);
            C.Draw(TopLeft.Width(), 0, *FFrame[fpTop]);
            C.Draw(0, TopLeft.Height(), *FFrame[fpLeft]);
            C.Draw(TopLeft.Width(), H - Bottom.Height(), Bottom);
            C.Draw(W - Right.Width(), TopRight.Height(), Right);
            C.Draw(W - TopRight.Width(), 0, TopRight);
            C.Draw(W - BottomRight.Width(), H - BottomRight.Height(), BottomRight);
            C.Draw(0, H - BottomLeft.Height(), BottomLeft);
        }
        FBackground.Assign(Picture);

        C.Brush().SetColor(clWhite);
        C.FillRect(TRect(0, 0, W, H));
        if (FFrame[fpTopLeftMask]) {
            C.Draw(0, 0, *FFrame[fpTopLeftMask]);
            C.Draw(W - FFrame[fpTopRightMask]->Width(), 0, *FFrame[fpTopRightMask]);
        }
        RegionMaker->Mask().Assign(Picture);
        RegionMaker->ApplyRegion();
        Invalidate();
    } catch (const Exception&) {
        // The window keeps the frame and region it had.
    }
}

void TFlatForm::PaintWindow(HDC DC) {
    TForm::PaintWindow(DC);
    if (FBackground.Empty())
        return;
    TCanvas Canvas;
    const TCanvasDC Attached(Canvas, DC);
    Canvas.Draw(0, 0, FBackground);
}

void TFlatForm::WndProc(TMessage& Message) {
    TForm::WndProc(Message);
    if (Message.Msg != WM_NCHITTEST || Message.Result != HTCLIENT)
        return;
    const TPoint P = ScreenToClient(TPoint{static_cast<short>(LOWORD(Message.LParam)),
                                           static_cast<short>(HIWORD(Message.LParam))});
    // Both buttons' rectangles count, edges included, hidden or not.
    const auto On = [&](const TControl* Button) {
        const TRect R = Button->BoundsRect();
        return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
    };
    if (P.Y <= FTitleBarHeight && !On(CloseButton) && !On(HelpButton))
        Message.Result = HTCAPTION;
}

void TFlatForm::CloseButtonClick(TObject* /*Sender*/) {
    TCloseAction Action = caHide;
    if (OnClose)
        OnClose(this, Action);
    if (Action == caNone) {
        Hide();
        return;
    }
    // The close sequence goes on with the action chosen; OnClose is not asked twice.
    FCloseDecided = true;
    FDecidedAction = Action;
    Close();
    if (!Modal())
        FCloseDecided = false;
}

bool TFlatForm::CloseQuery() {
    const bool CanClose = TForm::CloseQuery();
    if (!CanClose)
        FCloseDecided = false;
    return CanClose;
}

void TFlatForm::DoClose(TCloseAction& Action) {
    if (FCloseDecided) {
        FCloseDecided = false;
        Action = FDecidedAction;
        return;
    }
    TForm::DoClose(Action);
}

void TFlatForm::ShowHelp() {
    ShowHelpTopic(String());
}
