#pragma once
// The main window's registry cleaner (mode 7) without the window: the scan from the options
// page, the rows of lvRegistryCleaner, their check boxes and the removal of the checked ones.

#include "app/FoundFile.h"
#include "app/Progress.h"
#include "app/RegistryScan.h"
#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"
#include "main/MainServices.h"

#include <functional>
#include <memory>
#include <vector>

class TMainCore;

// One row of lvRegistryCleaner.
struct TRegistryRow {
    TRegistryFinding Finding;
    // The safety class of the file the text names; a simple scan keeps only safe rows.
    TSafetyLevel Safety = slSafe;
    bool Checked = false;

    // Main text; the column texts are Finding.Name and Finding.Text.
    String Text() const { return FindingRowText(Finding); }
};

// Null services: the window thread's messages are processed and no window is shown.
struct TRegistryCleanerServices {
    // The please-wait window of the removal.
    IProgress* PleaseWait = nullptr;
    // Pumped during the scan, which keeps the scan page and its Stop button alive; null: the
    // window thread's pending messages are processed.
    IProgress* ScanPump = nullptr;
};

class TRegistryCleaner {
public:
    // Takes over the core's registry scan (Next on the options page in mode 7) and its Stop.
    TRegistryCleaner(TMainCore& Core, const TFeatureContext& Context,
                     const TRegistryCleanerServices& Services);
    ~TRegistryCleaner();
    TRegistryCleaner(const TRegistryCleaner&) = delete;
    TRegistryCleaner& operator=(const TRegistryCleaner&) = delete;

    // rdRegistryCleanerAdvanced; read when a scan starts.
    bool Advanced = false;
    // What a scan walks: the whole registry in the program, test keys in tests.
    std::vector<TRegistryKeyRef> Starts = WholeRegistryStarts();
    TRegistryKeyRef ClassKeys = DefaultClassKeys();

    // btnRegistryCleanerClick and btnRegistryCleanerReScanClick: mode 7 and its options page.
    void Open();
    // ScanRegistry: the scan page, the walk, then the page "RegistryCleaner" (also after Stop).
    TRegistryScanOutcome ScanRegistry();
    // The scan page's Stop button in mode 7.
    void Stop();
    bool Scanning() const { return FScanner != nullptr; }
    // The key being read, for the scan page's 50 ms timer in mode 7.
    const String& CurrentScanPath() const;

    const std::vector<TRegistryRow>& Rows() const { return FRows; }
    void SetChecked(int Index, bool Checked) { FRows.at(Index).Checked = Checked; }
    void CheckAll(bool Checked);
    // btnRegistryCleanerRemoveClick: asks, then removes the checked rows' entries from the last
    // row to the first; a row leaves the list when its entry is gone. Logs once. Returns how
    // many rows left.
    int RemoveChecked();

    // The rows changed (a scan or a removal ended).
    std::function<void()> OnRowsChanged;

private:
    // One row per finding.
    void AddRegistryIssue(const TRegistryFinding& Finding);
    void RowsChanged();

    TMainCore& FCore;
    const TFeatureContext& FContext;
    TRegistryCleanerServices FServices;
    std::vector<TRegistryRow> FRows;
    TRegistryScanner* FScanner = nullptr;
    String FCurrentScanPath;
};
