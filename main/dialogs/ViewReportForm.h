#pragma once
// The report viewer: the report written to Temp\Report.htm, opened in the browser or saved with
// its pictures to a folder the user picks. The built-in HTML view needs the system's HTML
// document class; where that is missing (wine) the viewer shows the report's numbers in its own
// controls and says that the built-in view is missing.

#include "app/FlatForm.h"
#include "main/MainForm.h"

#include <array>
#include <functional>

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
    TLabel* labNoBuiltInView = nullptr;
    // The numbers: by category (1 to 5, then the sums), this run's count and size, then all
    // time's.
    std::array<std::array<TLabel*, 4>, 6> Values{};

private:
    void CreateNumbers();
    void FormActivate();
    String ReportFile() const;

    TReportViewerEnvironment FEnvironment;
    bool FHasBuiltInView = false;
    bool FWentToBrowser = false;
};
