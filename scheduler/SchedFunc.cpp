#include "scheduler/SchedFunc.h"
#include "classlib/rtl/PathLayer.h"

#include <algorithm>

namespace {

const wchar_t General[] = L"General";

// The ranges of the window's spin edits and lists; a loaded value outside them would otherwise
// run a function at every tick (Time1 = 0) or lose its weekday at the next store.
struct TRange {
    int Low;
    int High;
};
constexpr TRange TimeRange{1, 100};
constexpr TRange HourRange{0, 23};
constexpr TRange MinuteRange{0, 59};
constexpr TRange DayOfMonthRange{1, 31};
constexpr TRange MBRange{1, 1000000000};
constexpr TRange IntervalRange{siNone, siOnDate};
constexpr TRange WeekdayRange{0, 6};

int Clamped(int Value, TRange Range) {
    return std::clamp(Value, Range.Low, Range.High);
}

int InRangeOr(int Value, TRange Range, int Default) {
    return Value >= Range.Low && Value <= Range.High ? Value : Default;
}

// Exactly Count digits at Text[At...].
bool ReadDigits(const String& Text, std::size_t At, std::size_t Count, int& Value) {
    if (At + Count > Text.size())
        return false;
    Value = 0;
    for (std::size_t I = At; I < At + Count; ++I) {
        if (Text[I] < L'0' || Text[I] > L'9')
            return false;
        Value = Value * 10 + (Text[I] - L'0');
    }
    return true;
}

// "yyyy-mm-dd" or "yyyy-mm-dd hh:nn:ss", nothing else.
bool TryReadIsoDateTime(const String& Text, TDateTime& Value) {
    int Year, Month, Day, Hour = 0, Min = 0, Sec = 0;
    if (!(Text.size() == 10 || Text.size() == 19) || !ReadDigits(Text, 0, 4, Year) ||
        Text[4] != L'-' || !ReadDigits(Text, 5, 2, Month) || Text[7] != L'-' ||
        !ReadDigits(Text, 8, 2, Day))
        return false;
    if (Text.size() == 19 &&
        (Text[10] != L' ' || !ReadDigits(Text, 11, 2, Hour) || Text[13] != L':' ||
         !ReadDigits(Text, 14, 2, Min) || Text[16] != L':' || !ReadDigits(Text, 17, 2, Sec)))
        return false;
    TDateTime Date, Time;
    if (!TryEncodeDate(Year, Month, Day, Date) || !TryEncodeTime(Hour, Min, Sec, 0, Time))
        return false;
    Value = Date + Time;
    return true;
}

int Truncated(TDateTime Value) {
    return static_cast<int>(Value);
}

} // namespace

void CopySchedSettings(TSchedFunc& Dest, const TSchedFunc& Source) {
    const TDateTime LastRun = Dest.LastRun;
    Dest = Source;
    Dest.LastRun = LastRun;
}

// ------------------------------------------------------------------ "|" lists

std::unique_ptr<TStringList> SplitPipeList(const String& Text) {
    auto List = std::make_unique<TStringList>();
    for (const String& Item : DecodePipeItems(Text))
        List->Add(Item);
    return List;
}

std::vector<String> DecodePipeItems(const String& Text) {
    std::vector<String> Items;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find(L'|', Start);
        if (End == String::npos)
            End = Text.size();
        Items.push_back(Text.substr(Start, End - Start));
        Start = End + 1;
    }
    return Items;
}

String EncodePipeItems(const std::vector<String>& Items) {
    String Text;
    for (const String& Item : Items)
        Text += Item + L"|";
    return Text;
}

bool GetPipeFlag(const String& Text, int Index, bool Default) {
    const std::vector<String> Items = DecodePipeItems(Text);
    if (Index < 0 || Index >= static_cast<int>(Items.size()))
        return Default;
    return Items[Index] == L"1";
}

void AppendPipeFlag(String& Text, bool Flag) {
    Text += Flag ? L"1|" : L"0|";
}

std::vector<bool> DecodePipeFlags(const String& Text, int Count) {
    std::vector<bool> Flags;
    for (int I = 0; I < Count; ++I)
        Flags.push_back(GetPipeFlag(Text, I, true));
    return Flags;
}

String EncodePipeFlags(const std::vector<bool>& Flags) {
    String Text;
    for (const bool Flag : Flags)
        AppendPipeFlag(Text, Flag);
    return Text;
}

// ------------------------------------------------------------------ the file

String SchedSectionName(int Index) {
    return L"Section" + IntToStr(Index + 1);
}

String SchedDateTimeText(TDateTime Value) {
    return FormatDateTime(L"yyyy-mm-dd hh:nn:ss", Value, TFormatSettings::Invariant());
}

bool TryReadSchedDateTime(const String& Text, TDateTime& Value) {
    const String Trimmed = Trim(Text);
    if (Trimmed.empty())
        return false;
    return TryReadIsoDateTime(Trimmed, Value) || TryStrToDateTime(Trimmed, Value) ||
           TryStrToDate(Trimmed, Value);
}

TSchedSettings::TSchedSettings(const String& FileName)
    : FFileName(FileName), FIni(std::make_unique<TIniFile>(FileName)) {}

bool TSchedSettings::ReadEnabled() const {
    return FIni->ReadBool(General, L"Enabled", true);
}

void TSchedSettings::WriteEnabled(bool Value) {
    Write([&] { FIni->WriteBool(General, L"Enabled", Value); });
}

bool TSchedSettings::ReadHideTrayIcon() const {
    return FIni->ReadBool(General, L"HideTrayIcon", false);
}

void TSchedSettings::WriteHideTrayIcon(bool Value) {
    Write([&] { FIni->WriteBool(General, L"HideTrayIcon", Value); });
}

void TSchedSettings::WriteHandle(HWND Wnd) {
    // The main program reads it back through a 32-bit signed integer; window handles fit.
    const auto Value = static_cast<int>(reinterpret_cast<std::intptr_t>(Wnd));
    Write([&] { FIni->WriteInteger(General, L"Handle", Value); });
}

void TSchedSettings::LoadSchedFunc(int Index, TSchedFunc& Func, TDateTime Now) const {
    const String Section = SchedSectionName(Index);
    try {
        Func.Enabled = FIni->ReadBool(Section, L"Enabled", false);
        Func.Intervals =
            InRangeOr(FIni->ReadInteger(Section, L"Intervals", siNone), IntervalRange, siNone);
        Func.Time1 = Clamped(FIni->ReadInteger(Section, L"Time1", 30), TimeRange);
        Func.Time2 = Clamped(FIni->ReadInteger(Section, L"Time2", 1), TimeRange);
        Func.Time3 = Clamped(FIni->ReadInteger(Section, L"Time3", 1), TimeRange);
        Func.Time4 = Clamped(FIni->ReadInteger(Section, L"Time4", 1), TimeRange);
        Func.Time5 = Clamped(FIni->ReadInteger(Section, L"Time5", 1), TimeRange);
        Func.Hour = Clamped(FIni->ReadInteger(Section, L"Hour", 0), HourRange);
        Func.Min = Clamped(FIni->ReadInteger(Section, L"Min", 0), MinuteRange);
        Func.DayOfWeek = InRangeOr(FIni->ReadInteger(Section, L"DayOfWeek", 1), WeekdayRange, 1);
        Func.DayOfMonth = Clamped(FIni->ReadInteger(Section, L"DayOfMonth", 1), DayOfMonthRange);
        Func.MB = Clamped(FIni->ReadInteger(Section, L"MB", 200), MBRange);
        Func.Parameters = FIni->ReadString(Section, L"Parameters", L"");
        if (FIni->ValueExists(Section, L"OnDate")) {
            TDateTime OnDate;
            if (TryReadSchedDateTime(FIni->ReadString(Section, L"OnDate", L""), OnDate))
                Func.OnDate = OnDate;
            else
                Func.OnDate.reset();
        } else {
            Func.OnDate = Now;
        }
        Func.OnDateHour = Clamped(FIni->ReadInteger(Section, L"OnDateHour", 0), HourRange);
        Func.OnDateMin = Clamped(FIni->ReadInteger(Section, L"OnDateMin", 0), MinuteRange);
        TDateTime LastRun;
        Func.LastRun =
            TryReadSchedDateTime(FIni->ReadString(Section, L"LastRun", L""), LastRun) ? LastRun : 0;
    } catch (const Exception&) {
        // A file that cannot be read leaves the fields not read yet as they were.
    }
}

void TSchedSettings::SaveSchedFunc(int Index, const TSchedFunc& Func) {
    const String Section = SchedSectionName(Index);
    Write([&] {
        FIni->WriteBool(Section, L"Enabled", Func.Enabled);
        FIni->WriteInteger(Section, L"Intervals", Func.Intervals);
        FIni->WriteInteger(Section, L"Time1", Func.Time1);
        FIni->WriteInteger(Section, L"Time2", Func.Time2);
        FIni->WriteInteger(Section, L"Time3", Func.Time3);
        FIni->WriteInteger(Section, L"Time4", Func.Time4);
        FIni->WriteInteger(Section, L"Time5", Func.Time5);
        FIni->WriteInteger(Section, L"Hour", Func.Hour);
        FIni->WriteInteger(Section, L"Min", Func.Min);
        FIni->WriteInteger(Section, L"DayOfWeek", Func.DayOfWeek);
        FIni->WriteInteger(Section, L"DayOfMonth", Func.DayOfMonth);
        FIni->WriteInteger(Section, L"MB", Func.MB);
        // An unreadable stored date is left in the file as it is, not replaced by a new one.
        if (Func.OnDate)
            FIni->WriteString(Section, L"OnDate", SchedDateTimeText(*Func.OnDate));
        FIni->WriteInteger(Section, L"OnDateHour", Func.OnDateHour);
        FIni->WriteInteger(Section, L"OnDateMin", Func.OnDateMin);
        FIni->WriteString(Section, L"Parameters", Func.Parameters);
        FIni->WriteString(Section, L"LastRun", SchedDateTimeText(Func.LastRun));
    });
}

void TSchedSettings::SaveLastRun(int Index, const TSchedFunc& Func) {
    Write([&] {
        FIni->WriteString(SchedSectionName(Index), L"LastRun", SchedDateTimeText(Func.LastRun));
    });
}

void TSchedSettings::PrepareFile() {
    if (FileExists(FFileName))
        return;
    const HANDLE File = CreateFileW(ExtendedPath(FFileName).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return; // the profile functions then make the file themselves, or fail as they would
    const unsigned char Bom[] = {0xFF, 0xFE};
    DWORD Written = 0;
    WriteFile(File, Bom, sizeof Bom, &Written, nullptr);
    CloseHandle(File);
}

template <typename TWrite> void TSchedSettings::Write(TWrite&& Writes) {
    try {
        PrepareFile();
        Writes();
    } catch (const Exception&) {
        // Settings that cannot be written are dropped without a message.
    }
}

// ------------------------------------------------------------ the window's view

void ShowSchedFunc(int Index, const TSchedFunc& Func, TSchedView& View) {
    View.FuncName = Func.Name;
    View.Enabled = Func.Enabled;
    if (Func.Intervals >= siNone && Func.Intervals <= siOnDate)
        View.CheckedInterval = Func.Intervals;
    View.Time = {Func.Time1, Func.Time2, Func.Time3, Func.Time4, Func.Time5};
    View.Hour = Func.Hour;
    View.Min = Func.Min;
    View.DateText = Func.OnDate ? DateToStr(*Func.OnDate) : String();
    View.OnDateHour = Func.OnDateHour;
    View.OnDateMin = Func.OnDateMin;
    View.DayIndex = Func.DayOfWeek;
    View.DayOfMonth = Func.DayOfMonth;
    View.MB = Func.MB;
    View.Flags.clear();
    View.Rows.clear();
    if (Index == sfRegistryCleaner)
        View.Flags = DecodePipeFlags(Func.Parameters, RegistryFlagCount);
    else if (Index == sfInternetPrivacy)
        View.Flags = DecodePipeFlags(Func.Parameters, PrivacyFlagCount);
    else
        View.Rows = DecodePipeItems(Func.Parameters);
}

void StoreSchedFunc(int Index, const TSchedView& View, TSchedFunc& Func) {
    Func.Enabled = View.Enabled;
    Func.Intervals = View.CheckedInterval;
    Func.Time1 = View.Time[0];
    Func.Time2 = View.Time[1];
    Func.Time3 = View.Time[2];
    Func.Time4 = View.Time[3];
    Func.Time5 = View.Time[4];
    Func.Hour = View.Hour;
    Func.Min = View.Min;
    if (TDateTime Date; TryStrToDate(Trim(View.DateText), Date)) {
        Func.OnDate = static_cast<TDateTime>(Truncated(Date));
        Func.OnDateHour = View.OnDateHour;
        Func.OnDateMin = View.OnDateMin;
    }
    Func.DayOfWeek = View.DayIndex;
    Func.DayOfMonth = View.DayOfMonth;
    Func.MB = View.MB;
    if (Index == sfRegistryCleaner || Index == sfInternetPrivacy)
        Func.Parameters = EncodePipeFlags(View.Flags);
    else
        Func.Parameters = EncodePipeItems(View.Rows);
}
