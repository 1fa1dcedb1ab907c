#pragma once
// The report viewer: the report written to Temp\Report.htm, shown in the system's web browser
// control, opened in the browser or saved with its pictures to a folder the user picks. The
// browser control needs the system's HTML document class; where that is missing (wine) the
// viewer shows the report's numbers and the action log in its own controls and says that the
// built-in view is missing.

#include "app/FlatForm.h"
#include "classlib/gui/OleHost.h"
#include "main/MainForm.h"

#include <array>
#include <functional>
#include <vector>

class TStatistics;

struct TReportViewerEnvironment {
    // The program folder, with a trailing backslash.
    String AppDir;
    const TStatistics* Stats = nullptr;
    TFolderPicker PickFolder;
    // Null: the shell opens the file in the default browser.
    std::function<void(const String& FileName)> OpenInBrowser;
    // Null: the system is asked for its HTML document class.
    std::function<bool()> HtmlEngineAvailable;
    // Puts the browser object into the control; null: the system's browser object.
    std::function<bool(TWebBrowser& Browser)> OpenBrowser;
};

// The system can make its HTML document object.
bool SystemHtmlEngineAvailable();

class TfrmViewReport : public TFlatForm {
public:
    TfrmViewReport(TComponent* AOwner, TReportViewerEnvironment Environment);

    bool HasBuiltInView() const { return FHasBuiltInView; }
    void btnViewInBrowserClick();
    void btnSaveClick();
    void btnCloseClick();

    TavImageExpandButton* btnViewInBrowser = nullptr;
    TavImageExpandButton* btnSave = nullptr;
    TavImageExpandButton* btnClose = nullptr;
    // The built-in view; null when the system cannot show the report in it.
    TWebBrowser* WebBrowser1 = nullptr;
    TLabel* labNoBuiltInView = nullptr;
    // The action log's lines, shown with the numbers.
    TCvTree* lvReportActions = nullptr;
    // The numbers: by category (1 to 5, then the sums), this run's count and size, then all
    // time's.
    std::array<std::array<TLabel*, 4>, 6> Values{};

private:
    void CreateNumbers();
    void CreateActions();
    bool CreateBrowserView();
    void ShowBuiltInView(bool Shown);
    void FormShow();
    void FormActivate();
    String ReportFile() const;

    TReportViewerEnvironment FEnvironment;
    bool FHasBuiltInView = false;
    // The viewer's own view of the report, shown where the built-in one is not.
    std::vector<TControl*> FOwnView;
    bool FWentToBrowser = false;
};
