#include "main/RegistryCleaner.h"

#include "main/MainCore.h"

#include <unordered_set>

TRegistryCleaner::TRegistryCleaner(TMainCore& Core, const TFeatureContext& Context,
                                   const TRegistryCleanerServices& Services)
    : FCore(Core), FContext(Context), FServices(Services) {
    FCore.OnRegistryScan = [this] { ScanRegistry(); };
    FCore.OnStopRegistryScan = [this] { Stop(); };
}

TRegistryCleaner::~TRegistryCleaner() {
    FCore.OnRegistryScan = nullptr;
    FCore.OnStopRegistryScan = nullptr;
}

void TRegistryCleaner::Open() {
    FCore.Flow.EnterMode(mdRegistryCleaner);
}

TRegistryScanOutcome TRegistryCleaner::ScanRegistry() {
    if (FScanner)
        return TRegistryScanOutcome::Stopped;
    FCurrentScanPath.clear();
    FRows.clear();
    RowsChanged();
    if (FCore.OnScanStarted)
        FCore.OnScanStarted(true);
    FCore.Flow.ShowPage(pgScan);

    TRegistryScanSettings Settings;
    Settings.Starts = Starts;
    Settings.Advanced = Advanced;
    Settings.ClassKeys = ClassKeys;
    TRegistryScanner Scanner(Settings);
    TWindowPumpProgress WindowPump;
    Scanner.Progress = FServices.ScanPump ? FServices.ScanPump : &WindowPump;
    Scanner.OnFinding = [this](const TRegistryFinding& Finding) { AddRegistryIssue(Finding); };
    FScanner = &Scanner;
    TRegistryScanOutcome Outcome = TRegistryScanOutcome::Stopped;
    try {
        Outcome = Scanner.Run();
    } catch (...) {
        // What was found so far stays and shows.
    }
    FScanner = nullptr;
    FCurrentScanPath = Scanner.CurrentScanPath();

    // Simple mode is offered as safe for every user: a value the safety rule does not call
    // safe (a service's ImagePath, the paging file) is not listed there at all.
    if (!Advanced)
        std::erase_if(FRows, [](const TRegistryRow& Row) { return Row.Safety != slSafe; });
    if (FCore.OnScanEnded)
        FCore.OnScanEnded();
    RowsChanged();
    FCore.Flow.ShowPage(pgRegistryCleaner);
    return Outcome;
}

void TRegistryCleaner::Stop() {
    if (FScanner)
        FScanner->Stop();
}

const String& TRegistryCleaner::CurrentScanPath() const {
    return FScanner ? FScanner->CurrentScanPath() : FCurrentScanPath;
}

void TRegistryCleaner::AddRegistryIssue(const TRegistryFinding& Finding) {
    TRegistryRow Row;
    Row.Finding = Finding;
    Row.Safety =
        FCore.Safety.GetSafetyLevel(ExtractFilePath(Finding.Text), ExtractFileName(Finding.Text));
    FRows.push_back(std::move(Row));
}

void TRegistryCleaner::CheckAll(bool Checked) {
    for (TRegistryRow& Row : FRows)
        Row.Checked = Checked;
}

namespace {

// What names a finding's entry, whatever its row shows: many rows are matched in one pass.
String FindingIdentity(const TRegistryFinding& Finding) {
    return IntToStr(static_cast<int>(Finding.Kind)) + L"|" +
           IntToStr(static_cast<int>(Finding.Root)) + L"|" + UpperCase(Finding.KeyPath) + L"|" +
           UpperCase(Finding.Name);
}

} // namespace

int TRegistryCleaner::RemoveChecked() {
    if (!FContext.Confirm(FContext.Message(L"DeleteRegistryEntriesConfirm")))
        return 0;

    // Taken before the first pump, last row first: the loop removes exactly the entries that
    // were checked when it started, and their rows go by identity afterwards.
    std::vector<TRegistryFinding> Chosen;
    for (auto Row = FRows.size(); Row-- > 0;)
        if (FRows[Row].Checked)
            Chosen.push_back(FRows[Row].Finding);
    std::unordered_set<String> Gone;
    {
        TWindowPumpProgress NoWindow;
        IProgress& Wait = FServices.PleaseWait ? *FServices.PleaseWait : NoWindow;
        const TProgressScope Shown(Wait, FContext.Message(L"sDeletingRegistry"), 0, false,
                                   TProgressAnimation::DeleteFile);
        for (const TRegistryFinding& Finding : Chosen) {
            try {
                if (RemoveRegistryFinding(Finding) != TRegistryRemoval::Failed)
                    Gone.insert(FindingIdentity(Finding));
            } catch (...) {
                // The row stays, checked.
            }
            Wait.Pump();
        }
    }
    const auto Before = FRows.size();
    std::erase_if(FRows, [&](const TRegistryRow& Row) {
        return Gone.contains(FindingIdentity(Row.Finding));
    });
    FContext.Stats().AddLogLine(FContext.Message(L"S_Log_RegistryDeleteItem"));
    RowsChanged();
    return static_cast<int>(Before - FRows.size());
}

void TRegistryCleaner::RowsChanged() {
    if (OnRowsChanged)
        OnRowsChanged();
}
