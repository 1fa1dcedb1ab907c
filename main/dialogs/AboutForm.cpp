#include "main/dialogs/AboutForm.h"

#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"
#include "main/FeatureContext.h"

const wchar_t TfrmAbout::ProductAddress[] = L"https://www.systemcorvanta.example/";
const wchar_t TfrmAbout::MakerAddress[] = L"https://www.corvanta-labs.example/";
const wchar_t TfrmAbout::PublisherAddress[] = L"https://www.corvanta-software.example/";

namespace {

constexpr int LayoutWidth = 450;
constexpr int LayoutHeight = 310;

} // namespace

TfrmAbout::TfrmAbout(TComponent* AOwner, const String& AppDir, const TFeatureContext& Context)
    : TForm(AOwner) {
    Name = L"frmAbout";
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu});
    Position = poDesktopCenter;
    SetCaption(L"About System Corvanta 2");
    SetClientWidth(LayoutWidth);
    SetClientHeight(LayoutHeight);
    OpenLink = [](const String& Address) { OpenInDefaultBrowser(Address); };
    FormCreate(AppDir, Context);
}

void TfrmAbout::FormCreate(const String& AppDir, const TFeatureContext& Context) {
    imgBG = MakeNamedChild<TImage>(*this, *this, L"imgBG", Bounds(0, 0, LayoutWidth, LayoutHeight));
    try {
        imgBG->SetAutoSize(true);
        imgBG->SendToBack();
        imgBG->Picture().LoadFromFile(AppDir + L"Data\\about.bmp");
        SetClientWidth(imgBG->Picture().Bitmap().Width());
        SetClientHeight(imgBG->Picture().Bitmap().Height());
    } catch (const std::exception&) {
        // Without the picture the box keeps its layout size.
    }

    JvLabel2 = MakeLinkText(L"JvLabel2", 24, 20, ProductAddress, &TfrmAbout::JvLabel2Click);
    JvLabel2->Font().SetHeight(-18);
    JvLabel2->Font().SetColor(clWhite);
    Label1 = MakeText(L"Label1", 24, 150, L"System Corvanta 2");
    Label1->Font().SetStyle({fsBold});
    Label3 =
        MakeText(L"Label3", 24, 172, L"Version 2.0 - keeps a Windows computer clean and tidy.");
    Label7 = MakeText(L"Label7", 24, 206, L"Made by");
    Label11 = MakeLinkText(L"Label11", 0, 206, L"Corvanta Labs", &TfrmAbout::Label11Click);
    Label11->SetLeft(Label7->Left() + Label7->Width() + 5);
    Label9 = MakeText(L"Label9", 24, 228, Context.Message(L"sAbout9"));
    Label10 = MakeLinkText(L"Label10", 0, 228, L"Corvanta Software", &TfrmAbout::Label10Click);
    Label10->SetLeft(Label9->Left() + Label9->Width() + 3);

    // Title-bar buttons are easy to miss on a picture; Enter and Escape close it too.
    constexpr int ButtonWidth = 75, ButtonHeight = 23, Margin = 12;
    btnClose = MakeNamedChild<TButton>(*this, *this, L"btnClose",
                                       Bounds(ClientWidth() - ButtonWidth - Margin,
                                              ClientHeight() - ButtonHeight - Margin, ButtonWidth,
                                              ButtonHeight));
    btnClose->SetCaption(L"Close");
    btnClose->ModalResult = mrCancel;
    btnClose->SetDefault(true);
    btnClose->Cancel = true;
}

TLabel* TfrmAbout::MakeText(const String& Name, int Left, int Top, const String& Caption) {
    auto* Label = MakeNamedChild<TLabel>(*this, *this, Name, Bounds(Left, Top, 10, 15));
    Label->SetTransparent(true);
    Label->SetAutoSize(true);
    Label->Font().SetName(L"Verdana");
    Label->Font().SetHeight(-11);
    Label->SetCaption(Caption);
    return Label;
}

TLabel* TfrmAbout::MakeLinkText(const String& Name, int Left, int Top, const String& Caption,
                                void (TfrmAbout::*Click)()) {
    TLabel* Label = MakeText(Name, Left, Top, Caption);
    Label->Font().SetStyle({fsUnderline});
    Label->Font().SetColor(0x964C02);
    Label->SetCursor(crHandPoint);
    Label->OnClick = [this, Click](TObject*) { (this->*Click)(); };
    return Label;
}

void TfrmAbout::JvLabel2Click() {
    OpenLink(ProductAddress);
}

void TfrmAbout::Label11Click() {
    OpenLink(MakerAddress);
}

void TfrmAbout::Label10Click() {
    OpenLink(PublisherAddress);
}
