#include "main/dialogs/ViewReportForm.h"

#include "app/AppStartup.h"
#include "app/Language.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "main/Launchers.h"
#include "main/Report.h"

namespace {

// The system's HTML document class, the engine of the built-in view.
constexpr CLSID HtmlDocumentClass = {
    0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

// The rows of the numbers: the five categories the report shows, then their sums.
constexpr std::array<const wchar_t*, 6> RowLabels{
    L"labReportCategory1", L"labReportCategory2", L"labReportCategory3",
    L"labReportCategory4", L"labReportCategory5", L"labReportSum",
};
constexpr std::array<int, 4> ValueLefts{250, 330, 450, 530};
constexpr int FirstRowTop = 112;
constexpr int RowStep = 26;
// The area of the built-in view, and of the action log below the numbers.
const TRect ViewArea = Bounds(24, 44, 667, 400);
const TRect ActionsArea = Bounds(24, 288, 667, 156);

String LanguageText(const String& Section, const String& Ident) {
    String Text = Section;
    if (AppLanguage)
        AppLanguage->GetText(Section, Ident, Text);
    return Text;
}

} // namespace

bool SystemHtmlEngineAvailable() {
    IUnknown* Document = nullptr;
    const HRESULT Result = CoCreateInstance(HtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IUnknown, reinterpret_cast<void**>(&Document));
    if (Document)
        Document->Release();
    return SUCCEEDED(Result);
}

TfrmViewReport::TfrmViewReport(TComponent* AOwner, TReportViewerEnvironment Environment)
    : TFlatForm(AOwner), FEnvironment(std::move(Environment)) {
    Name = L"frmViewReport";
    SetBounds(0, 0, 715, 504);
    Position = poDesktopCenter;
    HelpButton->Hide();
    if (!FEnvironment.OpenInBrowser)
        FEnvironment.OpenInBrowser = [this](const String& FileName) {
            RunShellRequest(Handle(), TShellRequest{L"open", FileName, String(), String()});
        };

    const auto Button = [&](const wchar_t* ButtonName, const TRect& Where, auto Action) {
        auto* Made = MakeDialogButton(ButtonName, Where);
        Made->OnClick = [this, Action](TObject*) { (this->*Action)(); };
        return Made;
    };
    btnViewInBrowser = Button(L"btnViewInBrowser", Bounds(24, 456, 160, 25),
                              &TfrmViewReport::btnViewInBrowserClick);
    btnSave = Button(L"btnSave", Bounds(196, 456, 98, 25), &TfrmViewReport::btnSaveClick);
    btnClose = Button(L"btnClose", Bounds(593, 456, 98, 25), &TfrmViewReport::btnCloseClick);
    CreateNumbers();
    CreateActions();
    const bool EngineAvailable = FEnvironment.HtmlEngineAvailable
                                     ? FEnvironment.HtmlEngineAvailable()
                                     : SystemHtmlEngineAvailable();
    FHasBuiltInView = EngineAvailable && CreateBrowserView();
    ShowBuiltInView(FHasBuiltInView);
    OnShow = [this](TObject*) { FormShow(); };
    OnActivate = [this](TObject*) { FormActivate(); };
    SetFormCaption(LanguageText(L"frmViewReport", L"Caption"));
}

void TfrmViewReport::CreateNumbers() {
    labNoBuiltInView =
        MakeNamedChild<TLabel>(*this, *this, L"labNoBuiltInView", Bounds(24, 44, 660, 30));
    FOwnView.push_back(labNoBuiltInView);
    labNoBuiltInView->SetAutoSize(false);
    labNoBuiltInView->SetWordWrap(true);
    FOwnView.push_back(MakeNamedChild<TLabel>(*this, *this, L"labReportThisRun",
                                              Bounds(ValueLefts[0], 86, 180, 15)));
    FOwnView.push_back(MakeNamedChild<TLabel>(*this, *this, L"labReportAllTime",
                                              Bounds(ValueLefts[2], 86, 180, 15)));
    const std::vector<String> Report = FEnvironment.Stats
                                           ? ReportValues(*FEnvironment.Stats, DateTimeToStr(Now()))
                                           : std::vector<String>(26);
    for (size_t Row = 0; Row < RowLabels.size(); ++Row) {
        const int Top = FirstRowTop + static_cast<int>(Row) * RowStep;
        auto* Caption =
            MakeNamedChild<TLabel>(*this, *this, RowLabels[Row], Bounds(24, Top, 220, 15));
        if (Row + 1 == RowLabels.size())
            Caption->Font().SetStyle({fsBold});
        FOwnView.push_back(Caption);
        // This run's count and size, then all time's, as the report fills them in.
        const size_t First[] = {1 + 2 * Row, 2 + 2 * Row, 13 + 2 * Row, 14 + 2 * Row};
        for (size_t Column = 0; Column < 4; ++Column) {
            auto* Value = MakeNamedChild<TLabel>(*this, *this, String(),
                                                 Bounds(ValueLefts[Column], Top, 100, 15));
            Value->SetCaption(Report[First[Column]]);
            Values[Row][Column] = Value;
            FOwnView.push_back(Value);
        }
    }
}

void TfrmViewReport::CreateActions() {
    lvReportActions = MakeTreeList(*this, *this, L"lvReportActions", ActionsArea);
    AddHeaderColumn(*lvReportActions, LanguageText(L"lvReportActions", L"Caption"), -1);
    FOwnView.push_back(lvReportActions);
    if (!FEnvironment.Stats)
        return;
    const TStringList& Lines = FEnvironment.Stats->LogLines();
    lvReportActions->Items().BeginUpdate();
    for (int Line = 0; Line < Lines.Count(); ++Line)
        AddTreeRow(*lvReportActions, nullptr, Lines.Strings(Line));
    lvReportActions->Items().EndUpdate();
}

bool TfrmViewReport::CreateBrowserView() {
    WebBrowser1 = MakeNamedChild<TWebBrowser>(*this, *this, L"WebBrowser1", ViewArea);
    WebBrowser1->Anchors = TAnchors{akLeft, akTop, akRight, akBottom};
    const bool Made = FEnvironment.OpenBrowser ? FEnvironment.OpenBrowser(*WebBrowser1)
                                               : WebBrowser1->CreateBrowser();
    if (!Made) {
        delete WebBrowser1;
        WebBrowser1 = nullptr;
    }
    return Made;
}

void TfrmViewReport::ShowBuiltInView(bool Shown) {
    FHasBuiltInView = Shown;
    if (WebBrowser1)
        WebBrowser1->SetVisible(Shown);
    for (TControl* Part : FOwnView)
        Part->SetVisible(!Shown);
}

void TfrmViewReport::FormShow() {
    // A browser that refuses the report leaves the viewer with its own view of it.
    if (FHasBuiltInView && !WebBrowser1->Navigate(L"file://" + ReportFile()))
        ShowBuiltInView(false);
}

String TfrmViewReport::ReportFile() const {
    return FEnvironment.AppDir + L"Temp\\Report.htm";
}

void TfrmViewReport::btnViewInBrowserClick() {
    FWentToBrowser = true;
    FEnvironment.OpenInBrowser(ReportFile());
}

void TfrmViewReport::btnSaveClick() {
    String Folder;
    if (!FEnvironment.PickFolder ||
        !FEnvironment.PickFolder(Handle(), L"Choose the Folder", Folder))
        return;                                         // the viewer stays open
    SaveReportCopy(FEnvironment.AppDir, Folder, Now()); // failures are not reported
    SetModalResult(mrOk);
}

void TfrmViewReport::btnCloseClick() {
    SetModalResult(mrCancel);
}

void TfrmViewReport::FormActivate() {
    // Coming back from the browser ends the viewer; coming back from its own folder picker
    // does not.
    if (FWentToBrowser)
        SetModalResult(mrCancel);
}
