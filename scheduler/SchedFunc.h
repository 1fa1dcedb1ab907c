#pragma once
// The schedule of the scheduler's five functions: one record per function, its section of
// qvsched.ini, the "|" encoding of a function's list, and the moves between a record and the
// configuration window's controls (held here as a plain view model).

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/IniFiles.h"
#include "classlib/rtl/SysUtils.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Function indices; the same index selects the window's page and button and the ini section.
enum TSchedFuncIndex : int {
    sfRegistryCleaner = 0,
    sfInternetPrivacy = 1,
    sfFolderCleaner = 2,
    sfAppLauncher = 3,
    sfJunkFiles = 4,
};
constexpr int SchedFuncCount = 5;

// TSchedFunc.Intervals.
enum TSchedInterval : int {
    siNone = 0,
    siMinutes = 1,
    siHours = 2,
    siDays = 3,
    siWeeks = 4,
    siMonths = 5,
    siWindowsStart = 6,
    siFreeSpace = 7,
    siOnDate = 8,
};

// Flags of the registry cleaner's list, in row order.
constexpr int RegistryFlagCount = 3;
// Flags of the internet privacy list: cache, cookies, typed URLs, history, recent documents,
// Wordpad, Paint, Direct3D, DirectDraw.
constexpr int PrivacyFlagCount = 9;

// One function's settings.
struct TSchedFunc {
    // Display name; not stored.
    String Name;
    bool Enabled = false;
    int Intervals = siNone;
    int Time1 = 30;
    int Time2 = 1;
    int Time3 = 1;
    int Time4 = 1;
    int Time5 = 1;
    int Hour = 0;
    int Min = 0;
    // 0 Sunday ... 6 Saturday.
    int DayOfWeek = 1;
    int DayOfMonth = 1;
    int MB = 200;
    String Parameters;
    // Midnight of the kind-8 date; empty when the stored date could not be read, which makes
    // kind 8 never due rather than due today.
    std::optional<TDateTime> OnDate;
    int OnDateHour = 0;
    int OnDateMin = 0;
    // When the schedule last started the function (0: never).
    TDateTime LastRun = 0;
};

using TSchedFuncs = std::array<TSchedFunc, SchedFuncCount>;

// The settings of Source without its LastRun: the snapshot the window takes when it opens and
// puts back on Cancel, so that runs in between keep their time.
void CopySchedSettings(TSchedFunc& Dest, const TSchedFunc& Source);

// ------------------------------------------------------------------ "|" lists

// The items of a "|" list, in order, untrimmed; "a||" gives "a" and ""; "" gives none.
std::unique_ptr<TStringList> SplitPipeList(const String& Text);
// Flag Index of a "1|0|" list: true only for an item that is exactly "1"; Default when the
// list is shorter.
bool GetPipeFlag(const String& Text, int Index, bool Default);
void AppendPipeFlag(String& Text, bool Flag);
// Count flags, each read with the default "set".
std::vector<bool> DecodePipeFlags(const String& Text, int Count);
String EncodePipeFlags(const std::vector<bool>& Flags);
// The list as the runners use it: every item (empty ones too; the runners skip those).
std::vector<String> DecodePipeItems(const String& Text);
String EncodePipeItems(const std::vector<String>& Items);

// ------------------------------------------------------------------ the file

// "Section1" ... "Section5".
String SchedSectionName(int Index);

// Dates are written as "yyyy-mm-dd hh:nn:ss"; that form and the user's locale form are read.
String SchedDateTimeText(TDateTime Value);
bool TryReadSchedDateTime(const String& Text, TDateTime& Value);

// qvsched.ini, read and written key by key. No call throws and none shows a message: a file
// that cannot be read gives the defaults, a write that fails is dropped.
class TSchedSettings {
public:
    explicit TSchedSettings(const String& FileName);
    const String& FileName() const { return FFileName; }

    bool ReadEnabled() const;
    void WriteEnabled(bool Value);
    bool ReadHideTrayIcon() const;
    void WriteHideTrayIcon(bool Value);
    // The window that the main program sends its message to; 0 when none.
    void WriteHandle(HWND Wnd);

    // Reads the function's section into Func with the defaults of missing keys; values out of
    // the ranges the window accepts are brought into them. Now is the default of OnDate.
    void LoadSchedFunc(int Index, TSchedFunc& Func, TDateTime Now) const;
    // Writes every key of the function's section; a failing write ends that section's save.
    void SaveSchedFunc(int Index, const TSchedFunc& Func);
    // Writes the function's LastRun alone, when a run starts: unconfirmed edits of an open
    // window stay out of the file.
    void SaveLastRun(int Index, const TSchedFunc& Func);

private:
    // The file is made as UTF-16 on first write, so that paths outside the ANSI code page keep.
    void PrepareFile();
    template <typename TWrite> void Write(TWrite&& Writes);

    String FFileName;
    std::unique_ptr<TIniFile> FIni;
};

// ------------------------------------------------------------ the window's view

// What the configuration window's shared controls and the shown list hold.
struct TSchedView {
    String FuncName;      // labFuncName
    bool Enabled = false; // chkEnabled
    // The checked radio button, 1 to 8 (radEvery1 ... radEvery8); 0 none.
    int CheckedInterval = 0;
    std::array<int, 5> Time{1, 1, 1, 1, 1}; // edTime1 ... edTime5
    int Hour = 0;
    int Min = 0;
    String DateText; // edDate, short date
    int OnDateHour = 0;
    int OnDateMin = 0;
    int DayIndex = -1; // cmbDays
    int DayOfMonth = 1;
    int MB = 200;
    // Check marks of RegistryList (function 0) or of the privacy rows (function 1).
    std::vector<bool> Flags;
    // Row texts of the folder, launcher or junk-folder list (functions 2 to 4).
    std::vector<String> Rows;
};

// Record Index into the view (the list part only for that function's kind of list).
void ShowSchedFunc(int Index, const TSchedFunc& Func, TSchedView& View);
// The view into record Index. A date text that cannot be read keeps OnDate, OnDateHour and
// OnDateMin.
void StoreSchedFunc(int Index, const TSchedView& View, TSchedFunc& Func);
