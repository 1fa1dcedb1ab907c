#include "app/FlatMessageBox.h"

#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "classlib/gui/NamedChild.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int LabelLeft = 72;
constexpr int LabelTop = 48;
constexpr int ButtonHeight = 25;

struct TButtonSpec {
    const wchar_t* Name;
    const wchar_t* Caption;
    TModalResult Result;
    int Width;
};
constexpr TButtonSpec OkSpec{L"btnOk", L"OK", mrOk, 78};
constexpr TButtonSpec CancelSpec{L"btnCancel", L"Cancel", mrCancel, 78};
constexpr TButtonSpec YesSpec{L"btnYes", L"Yes", mrYes, 78};
constexpr TButtonSpec NoSpec{L"btnNo", L"No", mrNo, 78};
constexpr TButtonSpec NoToAllSpec{L"btnNoToAll", L"No to all", mrNoToAll, 80};
constexpr TButtonSpec YesToAllSpec{L"btnYesToAll", L"Yes to all", mrYesToAll, 80};

int MinimumWidth(int Buttons) {
    switch (Buttons) {
    case 2:
        return 574;
    case 3:
        return 386;
    case 4:
        return 292;
    default:
        return 198;
    }
}

// The buttons of a set from left to right, and where the first stands in a box of width W when
// every button has its standard width; each next one stands ButtonStep further.
struct TButtonRow {
    std::vector<const TButtonSpec*> Specs;
    int (*FirstLeft)(int W) = nullptr;
};
constexpr int ButtonStep = 94;

TButtonRow RowOfSet(int Buttons) {
    switch (Buttons) {
    case 0:
        return {{&OkSpec}, [](int W) { return (W - 78) / 2; }};
    case 2:
        return {{&YesSpec, &YesToAllSpec, &NoSpec, &NoToAllSpec, &CancelSpec},
                [](int W) { return (W - 326) / 4; }};
    case 3:
        return {{&YesSpec, &NoSpec, &CancelSpec}, [](int W) { return (W - 202) / 2; }};
    case 4:
    case 5:
        return {{&YesSpec, &NoSpec}, [](int W) { return (W - 140) / 2; }};
    default:
        return {};
    }
}

// The skin's rounded ends, which a face must keep clear of on either side.
constexpr int ButtonEndRoom = 8;

} // namespace

TFlatMessageBoxLayout LayoutFlatMessageBox(TSize TextSize, int Icon, int Buttons,
                                           const TButtonFaceWidth& FaceWidth) {
    TFlatMessageBoxLayout L;
    const TButtonRow Row = RowOfSet(Buttons);
    // How much wider than standard the row is: the box grows by as much, and the row keeps the
    // place it has in the standard box.
    std::vector<int> Widths;
    int Extra = 0;
    for (const TButtonSpec* Spec : Row.Specs) {
        const int Face = FaceWidth ? FaceWidth(Spec->Name) + 2 * ButtonEndRoom : 0;
        Widths.push_back(std::max(Spec->Width, Face));
        Extra += Widths.back() - Spec->Width;
    }
    L.Width = std::min(LabelLeft + TextSize.cx + 30, FlatMessageBoxMaxWidth);
    L.Height = std::min(LabelTop + TextSize.cy + 60, FlatMessageBoxMaxHeight);
    L.Width = std::max(L.Width, MinimumWidth(Buttons) + Extra);
    const int Top = L.Height - ButtonHeight - 12;
    if (!Row.Specs.empty()) {
        int Left = Row.FirstLeft(L.Width - Extra);
        for (size_t I = 0; I < Row.Specs.size(); ++I) {
            const TButtonSpec& Spec = *Row.Specs[I];
            L.Buttons.push_back({Spec.Name, Spec.Result, Left, Top, Widths[I]});
            Left += ButtonStep + Widths[I] - Spec.Width;
        }
    }
    L.HasIcon = Icon >= fmiQuestion && Icon <= fmiStop;
    L.IconPos = {16, (L.Height - 32) / 2};
    return L;
}

// ------------------------------------------------------------ TMessageIconImage

TMessageIconImage::TMessageIconImage(TComponent* AOwner, TFlatMessageIcon Kind)
    : TGraphicControl(AOwner), FKind(Kind) {
    ControlStyle = TControlStyle{};
    SetBounds(0, 0, 32, 32);
}

void TMessageIconImage::Paint() {
    LPCWSTR Id = IDI_QUESTION;
    switch (FKind) {
    case fmiQuestion:
        Id = IDI_QUESTION;
        break;
    case fmiInformation:
        Id = IDI_INFORMATION;
        break;
    case fmiExclamation:
        Id = IDI_WARNING;
        break;
    case fmiStop:
        Id = IDI_ERROR;
        break;
    }
    // Shared system icons: not to be destroyed.
    if (HICON Icon = LoadIconW(nullptr, Id))
        DrawIconEx(Canvas().Handle(), 0, 0, Icon, 32, 32, 0, nullptr, DI_NORMAL);
}

// ------------------------------------------------------------ TfrmFlatMessageBox

TfrmFlatMessageBox::TfrmFlatMessageBox(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmFlatMessageBox";
    Label1 = MakeNamedChild<TLabel>(*this, *this, L"Label1", Bounds(LabelLeft, LabelTop, 10, 13));
    Label1->SetAutoSize(true);
    Label1->SetWordWrap(false);
    const TFlatMessageIcon Kinds[] = {fmiQuestion, fmiInformation, fmiExclamation, fmiStop};
    for (int I = 0; I < 4; ++I) {
        Images[I] = MakeNamedChild<TMessageIconImage>(
            *this, *this, L"Image" + std::to_wstring(I + 1), Bounds(0, 0, 32, 32), Kinds[I]);
        Images[I]->SetVisible(false);
    }
    btnOk = MakeButton(OkSpec.Name, OkSpec.Caption, OkSpec.Result, OkSpec.Width);
    btnCancel = MakeButton(CancelSpec.Name, CancelSpec.Caption, CancelSpec.Result, 78);
    btnYes = MakeButton(YesSpec.Name, YesSpec.Caption, YesSpec.Result, 78);
    btnNo = MakeButton(NoSpec.Name, NoSpec.Caption, NoSpec.Result, 78);
    btnNoToAll = MakeButton(NoToAllSpec.Name, NoToAllSpec.Caption, NoToAllSpec.Result, 80);
    btnYesToAll = MakeButton(YesToAllSpec.Name, YesToAllSpec.Caption, YesToAllSpec.Result, 80);
    EscapeButton =
        MakeNamedChild<TButton>(*this, *this, L"EscapeButton", Bounds(-200, -200, 75, 25));
    EscapeButton->Cancel = true;
    EscapeButton->ModalResult = mrCancel;
    EscapeButton->SetTabStop(false);
    // The skin pass at the first show gives a label with a language section that section's
    // text; the caller's text goes back in after it.
    OnShow = [this](TObject*) { Label1->SetCaption(FText); };
}

TavImageExpandButton* TfrmFlatMessageBox::MakeButton(const wchar_t* Name, const wchar_t* Caption,
                                                     TModalResult Result, int Width) {
    auto* Button =
        MakeNamedChild<TavImageExpandButton>(*this, *this, Name, Bounds(0, 0, Width, ButtonHeight));
    Button->SetCaption(Caption);
    Button->Tag = GlyphNone;
    Button->ModalResult = Result;
    Button->Anchors = TAnchors{akLeft, akBottom};
    if (frmDM)
        Button->SetImageList(frmDM->avILBig);
    Button->SetVisible(false);
    return Button;
}

int TfrmFlatMessageBox::FaceWidth(const String& Name) {
    auto* Button = static_cast<TavImageExpandButton*>(FindComponent(Name));
    if (AppLanguage->IsLoaded()) {
        String Caption;
        AppLanguage->GetText(Name, L"Caption", Caption);
        Button->SetCaption(Caption);
    }
    TBitmap Measure;
    Measure.Canvas().Font().Assign(Button->Font());
    const int Glyph = Button->Glyph().Empty() ? 0 : Button->Glyph().Width() + Button->Spacing();
    return Glyph + Measure.Canvas().TextWidth(Button->Caption());
}

void TfrmFlatMessageBox::Prepare(const String& Caption, const String& Text, int Icon, int Buttons) {
    SetFormCaption(Caption);
    FText = Text;
    Label1->SetCaption(Text);
    const TFlatMessageBoxLayout L =
        LayoutFlatMessageBox(TSize{Label1->Width(), Label1->Height()}, Icon, Buttons,
                             [this](const String& Name) { return FaceWidth(Name); });
    SetBounds(Left(), Top(), L.Width, L.Height);
    if (L.HasIcon) {
        TMessageIconImage* Picture = Images[Icon - 1];
        Picture->SetBounds(L.IconPos.X, L.IconPos.Y, 32, 32);
        Picture->SetVisible(true);
    }
    for (const TFlatMessageButtonPlace& Place : L.Buttons) {
        auto* Button = static_cast<TavImageExpandButton*>(FindComponent(Place.Name));
        // The skinned button keeps the height of its pictures; the top follows it.
        Button->SetBounds(Place.Left, 0, Place.Width, Button->Height());
        Button->SetTop(L.Height - Button->Height() - 12);
        Button->SetVisible(true);
    }
    Position = poDesktopCenter;
    HelpButton->SetVisible(false);
    CloseButton->SetVisible(false);
}

void TfrmFlatMessageBox::WndProc(TMessage& Message) {
    // The system close answers Cancel, whatever the set: a box without buttons closes so.
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_CLOSE) {
        SetModalResult(mrCancel);
        Message.Result = 0;
        return;
    }
    TFlatForm::WndProc(Message);
}

int ShowFlatMessageBox(TComponent* Owner, const String& Caption, const String& Text, int Icon,
                       int Buttons) {
    std::unique_ptr<TfrmFlatMessageBox> Box(NewForm<TfrmFlatMessageBox>(Owner));
    Box->Prepare(Caption, Text, Icon, Buttons);
    return Box->ShowFlatModal();
}

int ShowFlatMessage(TComponent* Owner, const String& Text) {
    return ShowFlatMessageBox(Owner, Application ? Application->Title() : String(), Text,
                              fmiExclamation, 0);
}
