// TDateTime: encoding, decoding, text forms and FILETIME conversions.
#include "classlib/rtl/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <vector>

namespace {

constexpr std::int64_t MSecsPerDayInt = 86400000;
// Days from 0001-01-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t DateDelta = 693594;

// Days since 1899-12-30 of a civil date (any proleptic Gregorian date).
std::int64_t DaysFromCivil(int Y, int M, int D) {
    Y -= M <= 2 ? 1 : 0;
    const std::int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
    const std::int64_t Yoe = Y - Era * 400;
    const std::int64_t Doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
    const std::int64_t Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
    // 719468 = days from 0000-03-01 to 1970-01-01; 25569 = 1899-12-30 to 1970-01-01.
    return Era * 146097 + Doe - 719468 + 25569;
}

void CivilFromDays(std::int64_t Days, int& Y, int& M, int& D) {
    const std::int64_t Z = Days - 25569 + 719468;
    const std::int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    const std::int64_t Doe = Z - Era * 146097;
    const std::int64_t Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
    const std::int64_t Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
    const std::int64_t Mp = (5 * Doy + 2) / 153;
    D = static_cast<int>(Doy - (153 * Mp + 2) / 5 + 1);
    M = static_cast<int>(Mp < 10 ? Mp + 3 : Mp - 9);
    Y = static_cast<int>(Yoe + Era * 400 + (M <= 2 ? 1 : 0));
}

// Splits a date-time into whole days and the milliseconds of that day. A
// negative value keeps the classic layout: days count back, the fraction is
// still the time of that day.
void SplitDateTime(TDateTime DT, std::int64_t& Days, std::int64_t& MSecs) {
    if (!std::isfinite(DT) || std::fabs(DT) > 3.0e6) {
        Days = 0;
        MSecs = 0;
        return;
    }
    if (DT >= 0) {
        const auto Total = static_cast<std::int64_t>(std::llround(DT * MSecsPerDay));
        Days = Total / MSecsPerDayInt;
        MSecs = Total % MSecsPerDayInt;
        return;
    }
    Days = static_cast<std::int64_t>(std::trunc(DT));
    MSecs = static_cast<std::int64_t>(std::llround((static_cast<double>(Days) - DT) * MSecsPerDay));
    if (MSecs >= MSecsPerDayInt)
        MSecs = MSecsPerDayInt - 1;
}

TDateTime JoinDateTime(std::int64_t Days, std::int64_t MSecs) {
    if (Days >= 0)
        return static_cast<double>(Days * MSecsPerDayInt + MSecs) / MSecsPerDay;
    return static_cast<double>(Days) - static_cast<double>(MSecs) / MSecsPerDay;
}

// Linear milliseconds since the epoch, for arithmetic.
std::int64_t ToLinearMSecs(TDateTime DT) {
    std::int64_t Days, MSecs;
    SplitDateTime(DT, Days, MSecs);
    return Days * MSecsPerDayInt + MSecs;
}

TDateTime FromLinearMSecs(std::int64_t Total) {
    std::int64_t Days = Total / MSecsPerDayInt;
    std::int64_t MSecs = Total % MSecsPerDayInt;
    if (MSecs < 0) {
        MSecs += MSecsPerDayInt;
        --Days;
    }
    return JoinDateTime(Days, MSecs);
}

} // namespace

// ------------------------------------------------------------ encoding

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInAMonth(int Year, int Month) {
    static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return Days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInAMonth(Year, Month))
        return false;
    Date = static_cast<double>(DaysFromCivil(Year, Month, Day));
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
        MSec > 999)
        return false;
    Time = static_cast<double>(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime D;
    if (!TryEncodeDate(Year, Month, Day, D))
        throw EConvertError(L"Invalid argument to date encode");
    return D;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
    TDateTime T;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, T))
        throw EConvertError(L"Invalid argument to time encode");
    return T;
}

void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day) {
    std::int64_t Days, MSecs;
    SplitDateTime(DateTime, Days, MSecs);
    CivilFromDays(Days, Year, Month, Day);
}

void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec) {
    std::int64_t Days, MSecs;
    SplitDateTime(DateTime, Days, MSecs);
    MSec = static_cast<int>(MSecs % 1000);
    Sec = static_cast<int>(MSecs / 1000 % 60);
    Min = static_cast<int>(MSecs / 60000 % 60);
    Hour = static_cast<int>(MSecs / 3600000);
}

int DayOfWeek(TDateTime DateTime) {
    std::int64_t Days, MSecs;
    SplitDateTime(DateTime, Days, MSecs);
    // 1899-12-30 was a Saturday.
    const std::int64_t W = ((Days + 6) % 7 + 7) % 7; // 0 = Sunday
    return static_cast<int>(W) + 1;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& ST) {
    TDateTime D, T;
    if (!TryEncodeDate(ST.wYear, ST.wMonth, ST.wDay, D) ||
        !TryEncodeTime(ST.wHour, ST.wMinute, ST.wSecond, ST.wMilliseconds, T))
        throw EConvertError(L"Invalid argument to date encode");
    return JoinDateTime(static_cast<std::int64_t>(D), ToLinearMSecs(T));
}

SYSTEMTIME DateTimeToSystemTime(TDateTime DateTime) {
    SYSTEMTIME ST{};
    int Y, M, D, H, N, S, Z;
    DecodeDate(DateTime, Y, M, D);
    DecodeTime(DateTime, H, N, S, Z);
    ST.wYear = static_cast<WORD>(Y);
    ST.wMonth = static_cast<WORD>(M);
    ST.wDay = static_cast<WORD>(D);
    ST.wDayOfWeek = static_cast<WORD>(DayOfWeek(DateTime) - 1);
    ST.wHour = static_cast<WORD>(H);
    ST.wMinute = static_cast<WORD>(N);
    ST.wSecond = static_cast<WORD>(S);
    ST.wMilliseconds = static_cast<WORD>(Z);
    return ST;
}

TDateTime Now() {
    SYSTEMTIME ST;
    GetLocalTime(&ST);
    return SystemTimeToDateTime(ST);
}

TDateTime Date() {
    return std::floor(Now());
}

TDateTime Time() {
    const TDateTime N = Now();
    return N - std::floor(N);
}

TDateTime FileTimeToDateTime(const FILETIME& FT) {
    SYSTEMTIME Utc, Local;
    if (!FileTimeToSystemTime(&FT, &Utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &Utc, &Local))
        return 0;
    TDateTime R;
    TDateTime T;
    if (!TryEncodeDate(Local.wYear, Local.wMonth, Local.wDay, R) ||
        !TryEncodeTime(Local.wHour, Local.wMinute, Local.wSecond, Local.wMilliseconds, T))
        return 0;
    return JoinDateTime(static_cast<std::int64_t>(R), ToLinearMSecs(T));
}

FILETIME DateTimeToFileTime(TDateTime DateTime) {
    FILETIME FT{};
    const SYSTEMTIME Local = DateTimeToSystemTime(DateTime);
    SYSTEMTIME Utc;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &Local, &Utc) || !SystemTimeToFileTime(&Utc, &FT))
        return FILETIME{};
    return FT;
}

TDateTime FileDateToDateTime(int FileDate) {
    const auto U = static_cast<std::uint32_t>(FileDate);
    const int Day = static_cast<int>((U >> 16) & 0x1F);
    const int Month = static_cast<int>((U >> 21) & 0x0F);
    const int Year = static_cast<int>((U >> 25) & 0x7F) + 1980;
    const int Sec = static_cast<int>(U & 0x1F) * 2;
    const int Min = static_cast<int>((U >> 5) & 0x3F);
    const int Hour = static_cast<int>((U >> 11) & 0x1F);
    TDateTime D, T;
    if (!TryEncodeDate(Year, Month, Day, D) || !TryEncodeTime(Hour, Min, Sec, 0, T))
        return 0;
    return D + T;
}

TDateTime IncDay(TDateTime DateTime, int NumberOfDays) {
    return FromLinearMSecs(ToLinearMSecs(DateTime) + NumberOfDays * MSecsPerDayInt);
}
TDateTime IncHour(TDateTime DateTime, std::int64_t NumberOfHours) {
    return FromLinearMSecs(ToLinearMSecs(DateTime) + NumberOfHours * 3600000);
}
TDateTime IncMinute(TDateTime DateTime, std::int64_t NumberOfMinutes) {
    return FromLinearMSecs(ToLinearMSecs(DateTime) + NumberOfMinutes * 60000);
}
TDateTime IncSecond(TDateTime DateTime, std::int64_t NumberOfSeconds) {
    return FromLinearMSecs(ToLinearMSecs(DateTime) + NumberOfSeconds * 1000);
}

TDateTime IncMonth(TDateTime DateTime, int NumberOfMonths) {
    std::int64_t Days, MSecs;
    SplitDateTime(DateTime, Days, MSecs);
    int Y, M, D;
    CivilFromDays(Days, Y, M, D);
    const std::int64_t Months = static_cast<std::int64_t>(Y) * 12 + (M - 1) + NumberOfMonths;
    std::int64_t NewY = Months / 12;
    std::int64_t NewM = Months % 12;
    if (NewM < 0) {
        NewM += 12;
        --NewY;
    }
    if (NewY < 1 || NewY > 9999)
        throw EConvertError(L"Invalid argument to date encode");
    const int Year = static_cast<int>(NewY);
    const int Month = static_cast<int>(NewM) + 1;
    const int Day = std::min(D, DaysInAMonth(Year, Month));
    return JoinDateTime(DaysFromCivil(Year, Month, Day), MSecs);
}

// ------------------------------------------------------------- formatting

namespace {

constexpr int MaxFormatDepth = 3;

wchar_t Lower(wchar_t C) {
    return (C >= L'A' && C <= L'Z') ? static_cast<wchar_t>(C + 32) : C;
}

bool StartsWithNoCase(const String& S, std::size_t At, const wchar_t* Prefix) {
    for (std::size_t K = 0; Prefix[K] != 0; ++K)
        if (At + K >= S.size() || Lower(S[At + K]) != Prefix[K])
            return false;
    return true;
}

// True when the format (outside quotes) holds an am/pm marker, which makes
// h and hh count 12 hours.
bool HasAmPm(const String& Fmt) {
    wchar_t Quote = 0;
    for (std::size_t I = 0; I < Fmt.size(); ++I) {
        if (Quote != 0) {
            if (Fmt[I] == Quote)
                Quote = 0;
        } else if (Fmt[I] == L'"' || Fmt[I] == L'\'') {
            Quote = Fmt[I];
        } else if (StartsWithNoCase(Fmt, I, L"am/pm") || StartsWithNoCase(Fmt, I, L"a/p") ||
                   StartsWithNoCase(Fmt, I, L"ampm")) {
            return true;
        }
    }
    return false;
}

String Pad2(int V) {
    return (V < 10 ? L"0" : L"") + std::to_wstring(V);
}

struct TParts {
    int Year, Month, Day, Hour, Min, Sec, MSec, Week;
    bool HasTime;
};

void AppendFormatted(String& R, const String& Fmt, const TParts& P, const TFormatSettings& S,
                     int Depth) {
    if (Depth > MaxFormatDepth)
        return;
    const bool TwelveHour = HasAmPm(Fmt);
    bool AfterHour = false;
    std::size_t I = 0;
    while (I < Fmt.size()) {
        const wchar_t C = Fmt[I];
        const wchar_t L = Lower(C);
        std::size_t Run = 1;
        while (I + Run < Fmt.size() && Lower(Fmt[I + Run]) == L)
            ++Run;
        bool WasHour = false;
        switch (L) {
        case L'"':
        case L'\'': {
            const std::size_t Close = Fmt.find(C, I + 1);
            const std::size_t End = Close == String::npos ? Fmt.size() : Close;
            R.append(Fmt, I + 1, End - I - 1);
            I = Close == String::npos ? End : End + 1;
            continue;
        }
        case L'y':
            R += Run <= 2 ? Pad2(P.Year % 100) : std::to_wstring(P.Year);
            break;
        case L'm':
            if (AfterHour && Run <= 2)
                R += Run == 1 ? std::to_wstring(P.Min) : Pad2(P.Min);
            else if (Run == 1)
                R += std::to_wstring(P.Month);
            else if (Run == 2)
                R += Pad2(P.Month);
            else
                R += Run == 3 ? S.ShortMonthNames[P.Month - 1] : S.LongMonthNames[P.Month - 1];
            break;
        case L'd':
            if (Run == 1)
                R += std::to_wstring(P.Day);
            else if (Run == 2)
                R += Pad2(P.Day);
            else if (Run == 3)
                R += S.ShortDayNames[P.Week];
            else if (Run == 4)
                R += S.LongDayNames[P.Week];
            else
                AppendFormatted(R, Run == 5 ? S.ShortDateFormat : S.LongDateFormat, P, S,
                                Depth + 1);
            break;
        case L'h': {
            int H = P.Hour;
            if (TwelveHour) {
                H %= 12;
                if (H == 0)
                    H = 12;
            }
            R += Run == 1 ? std::to_wstring(H) : Pad2(H);
            WasHour = true;
            break;
        }
        case L'n':
            R += Run == 1 ? std::to_wstring(P.Min) : Pad2(P.Min);
            break;
        case L's':
            R += Run == 1 ? std::to_wstring(P.Sec) : Pad2(P.Sec);
            break;
        case L'z': {
            String Z = std::to_wstring(P.MSec);
            if (Run >= 3)
                Z = String(3 - Z.size(), L'0') + Z;
            R += Z;
            Run = Run >= 3 ? 3 : 1;
            break;
        }
        case L't':
            AppendFormatted(R, Run == 1 ? S.ShortTimeFormat : S.LongTimeFormat, P, S, Depth + 1);
            Run = Run >= 2 ? 2 : 1;
            break;
        case L'c':
            AppendFormatted(R, S.ShortDateFormat, P, S, Depth + 1);
            if (P.HasTime) {
                R += L' ';
                AppendFormatted(R, S.LongTimeFormat, P, S, Depth + 1);
            }
            Run = 1;
            break;
        case L'a':
            Run = 1;
            if (StartsWithNoCase(Fmt, I, L"ampm")) {
                R += P.Hour < 12 ? S.TimeAMString : S.TimePMString;
                Run = 4;
            } else if (StartsWithNoCase(Fmt, I, L"am/pm")) {
                const bool Upper = Fmt[I] == L'A';
                R += P.Hour < 12 ? (Upper ? L"AM" : L"am") : (Upper ? L"PM" : L"pm");
                Run = 5;
            } else if (StartsWithNoCase(Fmt, I, L"a/p")) {
                const bool Upper = Fmt[I] == L'A';
                R += P.Hour < 12 ? (Upper ? L"A" : L"a") : (Upper ? L"P" : L"p");
                Run = 3;
            } else {
                R += C;
            }
            break;
        case L'/':
            R.append(Run, S.DateSeparator);
            break;
        case L':':
            R.append(Run, S.TimeSeparator);
            break;
        default:
            R.append(Fmt, I, Run);
            if (L == L' ')
                WasHour = AfterHour;
        }
        AfterHour = WasHour || (AfterHour && L == L':');
        I += Run;
    }
}

TParts PartsOf(TDateTime DT) {
    TParts P{};
    DecodeDate(DT, P.Year, P.Month, P.Day);
    DecodeTime(DT, P.Hour, P.Min, P.Sec, P.MSec);
    P.Week = DayOfWeek(DT) - 1;
    P.HasTime = P.Hour != 0 || P.Min != 0 || P.Sec != 0 || P.MSec != 0;
    return P;
}

} // namespace

String FormatDateTime(const String& Fmt, TDateTime DateTime, const TFormatSettings& Settings) {
    String R;
    AppendFormatted(R, Fmt, PartsOf(DateTime), Settings, 0);
    return R;
}

String FormatDateTime(const String& Fmt, TDateTime DateTime) {
    return FormatDateTime(Fmt, DateTime, FormatSettings());
}

String DateToStr(TDateTime DateTime, const TFormatSettings& Settings) {
    return FormatDateTime(L"ddddd", DateTime, Settings);
}
String TimeToStr(TDateTime DateTime, const TFormatSettings& Settings) {
    return FormatDateTime(L"tt", DateTime, Settings);
}
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings) {
    return FormatDateTime(L"c", DateTime, Settings);
}
String DateToStr(TDateTime DateTime) {
    return DateToStr(DateTime, FormatSettings());
}
String TimeToStr(TDateTime DateTime) {
    return TimeToStr(DateTime, FormatSettings());
}
String DateTimeToStr(TDateTime DateTime) {
    return DateTimeToStr(DateTime, FormatSettings());
}

// ---------------------------------------------------------------- parsing

namespace {

bool IsDigit(wchar_t C) {
    return C >= L'0' && C <= L'9';
}

// The date text cut into numbers and words; everything else separates them.
struct TToken {
    String Text;
    bool Number;
};

std::vector<TToken> Tokenize(const String& S, const TFormatSettings& Settings) {
    std::vector<TToken> Tokens;
    std::size_t I = 0;
    while (I < S.size()) {
        const wchar_t C = S[I];
        if (IsDigit(C)) {
            std::size_t J = I;
            while (J < S.size() && IsDigit(S[J]))
                ++J;
            Tokens.push_back({S.substr(I, J - I), true});
            I = J;
        } else if (C > L' ' && C != Settings.DateSeparator && !std::iswpunct(C)) {
            std::size_t J = I;
            while (J < S.size() && !IsDigit(S[J]) && S[J] > L' ' &&
                   S[J] != Settings.DateSeparator && !std::iswpunct(S[J]))
                ++J;
            Tokens.push_back({S.substr(I, J - I), false});
            I = J;
        } else {
            ++I;
        }
    }
    return Tokens;
}

// Order of day, month and year in the short date format, e.g. "mdy".
String DateOrder(const String& Fmt) {
    String Order;
    wchar_t Quote = 0;
    for (const wchar_t C : Fmt) {
        if (Quote != 0) {
            if (C == Quote)
                Quote = 0;
            continue;
        }
        if (C == L'"' || C == L'\'') {
            Quote = C;
            continue;
        }
        const wchar_t L = Lower(C);
        if ((L == L'd' || L == L'm' || L == L'y') && Order.find(L) == String::npos)
            Order += L;
    }
    return Order.size() == 3 ? Order : String(L"mdy");
}

int MonthFromName(const String& Word, const TFormatSettings& S) {
    for (int I = 0; I < 12; ++I)
        if (AnsiSameText(Word, S.ShortMonthNames[I]) || AnsiSameText(Word, S.LongMonthNames[I]))
            return I + 1;
    return 0;
}

bool IsDayName(const String& Word, const TFormatSettings& S) {
    for (int I = 0; I < 7; ++I)
        if (AnsiSameText(Word, S.ShortDayNames[I]) || AnsiSameText(Word, S.LongDayNames[I]))
            return true;
    return false;
}

int ExpandYear(const String& Digits) {
    int Y = StrToIntDef(Digits, -1);
    if (Y < 0 || Digits.size() > 2)
        return Y;
    // Two digits: the year within 50 years of this one.
    SYSTEMTIME Today;
    GetLocalTime(&Today);
    const int Century = Today.wYear / 100 * 100;
    Y += Century;
    if (Y > Today.wYear + 49)
        Y -= 100;
    else if (Y < Today.wYear - 50)
        Y += 100;
    return Y;
}

bool ParseDate(const String& Text, const TFormatSettings& S, TDateTime& Value) {
    std::vector<String> Numbers;
    int NamedMonth = 0;
    for (const TToken& T : Tokenize(Text, S)) {
        if (T.Number) {
            if (T.Text.size() > 4)
                return false;
            Numbers.push_back(T.Text);
        } else if (const int M = MonthFromName(T.Text, S); M != 0 && NamedMonth == 0) {
            NamedMonth = M;
        } else if (!IsDayName(T.Text, S)) {
            return false;
        }
    }
    String Order = DateOrder(S.ShortDateFormat);
    int Year = 0, Month = 0, Day = 0;
    if (NamedMonth != 0)
        Order.erase(Order.find(L'm'), 1);
    if (Numbers.size() == Order.size()) {
        for (std::size_t I = 0; I < Order.size(); ++I) {
            if (Order[I] == L'y')
                Year = ExpandYear(Numbers[I]);
            else if (Order[I] == L'm')
                Month = StrToIntDef(Numbers[I], 0);
            else
                Day = StrToIntDef(Numbers[I], 0);
        }
    } else if (Numbers.size() + 1 == Order.size()) {
        // No year: this year, day and month in the locale's order.
        SYSTEMTIME Today;
        GetLocalTime(&Today);
        Year = Today.wYear;
        std::size_t K = 0;
        for (const wchar_t O : Order) {
            if (O == L'y')
                continue;
            (O == L'm' ? Month : Day) = StrToIntDef(Numbers[K++], 0);
        }
    } else {
        return false;
    }
    if (NamedMonth != 0)
        Month = NamedMonth;
    return TryEncodeDate(Year, Month, Day, Value);
}

// Removes a leading or trailing AM/PM marker; Pm is -1 none, 0 am, 1 pm.
String StripMarker(const String& Text, const TFormatSettings& S, int& Pm) {
    Pm = -1;
    const String T = Trim(Text);
    const std::pair<String, int> Markers[] = {{S.TimeAMString, 0}, {S.TimePMString, 1}, {L"AM", 0},
                                              {L"PM", 1},          {L"A", 0},           {L"P", 1}};
    for (const auto& [Marker, Value] : Markers) {
        if (Marker.empty() || T.size() < Marker.size())
            continue;
        if (AnsiSameText(T.substr(T.size() - Marker.size()), Marker)) {
            Pm = Value;
            return Trim(T.substr(0, T.size() - Marker.size()));
        }
        if (AnsiSameText(T.substr(0, Marker.size()), Marker)) {
            Pm = Value;
            return Trim(T.substr(Marker.size()));
        }
    }
    return T;
}

bool ParseTime(const String& Text, const TFormatSettings& S, TDateTime& Value) {
    int Pm;
    const String T = StripMarker(Text, S, Pm);
    int Parts[4] = {0, 0, 0, 0};
    int Count = 0;
    std::size_t I = 0;
    while (I < T.size()) {
        if (Count == 4 || !IsDigit(T[I]))
            return false;
        std::size_t J = I;
        while (J < T.size() && IsDigit(T[J]))
            ++J;
        if (J - I > (Count == 3 ? 3 : 2))
            return false;
        Parts[Count++] = StrToIntDef(T.substr(I, J - I), -1);
        if (J == T.size())
            break;
        const wchar_t Sep = T[J];
        const bool MSecSep = Count == 3 && (Sep == L'.' || Sep == S.DecimalSeparator);
        if (!MSecSep && Sep != S.TimeSeparator && Sep != L':')
            return false;
        I = J + 1;
        if (I == T.size())
            return false;
    }
    if (Count == 0 || (Count == 1 && Pm < 0))
        return false;
    int Hour = Parts[0];
    if (Pm >= 0) {
        if (Hour < 1 || Hour > 12)
            return false;
        Hour = Hour % 12 + (Pm == 1 ? 12 : 0);
    }
    return TryEncodeTime(Hour, Parts[1], Parts[2], Parts[3], Value);
}

} // namespace

bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& Settings) {
    return ParseDate(Trim(S), Settings, Value);
}

bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& Settings) {
    return ParseTime(S, Settings, Value);
}

bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings) {
    const String T = Trim(S);
    TDateTime D, Tm;
    if (ParseDate(T, Settings, D)) {
        Value = D;
        return true;
    }
    // The date may itself hold blanks ("5 Mar 2024"): try each blank as the
    // border between date and time.
    for (std::size_t At = T.find(L' '); At != String::npos; At = T.find(L' ', At + 1)) {
        if (ParseDate(T.substr(0, At), Settings, D) && ParseTime(T.substr(At + 1), Settings, Tm)) {
            Value = JoinDateTime(static_cast<std::int64_t>(D), ToLinearMSecs(Tm));
            return true;
        }
    }
    return false;
}

bool TryStrToDate(const String& S, TDateTime& Value) {
    return TryStrToDate(S, Value, FormatSettings());
}
bool TryStrToTime(const String& S, TDateTime& Value) {
    return TryStrToTime(S, Value, FormatSettings());
}
bool TryStrToDateTime(const String& S, TDateTime& Value) {
    return TryStrToDateTime(S, Value, FormatSettings());
}

TDateTime StrToDate(const String& S) {
    TDateTime V;
    if (!TryStrToDate(S, V))
        throw EConvertError(L"'" + S + L"' is not a valid date");
    return V;
}

TDateTime StrToTime(const String& S) {
    TDateTime V;
    if (!TryStrToTime(S, V))
        throw EConvertError(L"'" + S + L"' is not a valid time");
    return V;
}

TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings) {
    TDateTime V;
    if (!TryStrToDateTime(S, V, Settings))
        throw EConvertError(L"'" + S + L"' is not a valid date and time");
    return V;
}

TDateTime StrToDateTime(const String& S) {
    return StrToDateTime(S, FormatSettings());
}
