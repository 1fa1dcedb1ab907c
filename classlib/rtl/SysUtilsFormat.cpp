// Locale settings, Format and floating-point text.
#include "classlib/rtl/SysUtils.h"

#include <charconv>
#include <cmath>
#include <string>

// --------------------------------------------------------- locale settings

namespace {

String LocaleText(LCTYPE Type, const String& Fallback) {
    wchar_t Buf[256];
    const int N = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, Type, Buf, 256);
    return N > 1 ? String(Buf, static_cast<std::size_t>(N - 1)) : Fallback;
}

wchar_t LocaleChar(LCTYPE Type, wchar_t Fallback) {
    const String S = LocaleText(Type, String(1, Fallback));
    return S.empty() ? Fallback : S[0];
}

int LocaleInt(LCTYPE Type, int Fallback) {
    return StrToIntDef(LocaleText(Type, IntToStr(Fallback)), Fallback);
}

bool IsAsciiLetter(wchar_t C) {
    return (C >= L'a' && C <= L'z') || (C >= L'A' && C <= L'Z');
}

// Windows date and time pictures (d M y g; h H m s t; 'quoted') into the
// FormatDateTime notation, so that one formatter and one parser serve both.
String FromWindowsPicture(const String& Picture) {
    String R;
    std::size_t I = 0;
    while (I < Picture.size()) {
        const wchar_t C = Picture[I];
        if (C == L'\'') {
            const std::size_t Close = Picture.find(L'\'', I + 1);
            const std::size_t End = Close == String::npos ? Picture.size() : Close;
            const String Literal = Picture.substr(I + 1, End - I - 1);
            if (Literal.empty() && Close != String::npos)
                R += L"\"'\"";
            else if (!Literal.empty())
                R += L"\"" + Literal + L"\"";
            I = Close == String::npos ? End : End + 1;
            continue;
        }
        std::size_t Run = 1;
        while (I + Run < Picture.size() && Picture[I + Run] == C)
            ++Run;
        switch (C) {
        case L'd':
            R += Run >= 4 ? L"dddd" : String(Run, L'd');
            break;
        case L'M':
            R += Run >= 4 ? L"mmmm" : String(Run, L'm');
            break;
        case L'y':
            R += Run <= 2 ? L"yy" : L"yyyy";
            break;
        case L'g':
            break;
        case L'h':
        case L'H':
            R += Run >= 2 ? L"hh" : L"h";
            break;
        case L'm':
            R += Run >= 2 ? L"nn" : L"n";
            break;
        case L's':
            R += Run >= 2 ? L"ss" : L"s";
            break;
        case L't':
            R += L"ampm";
            break;
        default:
            if (IsAsciiLetter(C) || C == L'"')
                R += L"'" + String(Run, C) + L"'";
            else
                R += String(Run, C);
        }
        I += Run;
    }
    // A 24-hour picture keeps its hours: drop the marker our formatter would
    // otherwise use to switch to 12 hours.
    if (Picture.find(L'H') != String::npos && Picture.find(L'h') == String::npos) {
        for (std::size_t At; (At = R.find(L"ampm")) != String::npos;)
            R.erase(At, 4);
        R = TrimRight(R);
    }
    return R;
}

const wchar_t* const EnglishShortMonths[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                               L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
const wchar_t* const EnglishLongMonths[12] = {L"January",   L"February", L"March",    L"April",
                                              L"May",       L"June",     L"July",     L"August",
                                              L"September", L"October",  L"November", L"December"};
const wchar_t* const EnglishShortDays[7] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
const wchar_t* const EnglishLongDays[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                           L"Thursday", L"Friday", L"Saturday"};

void SetEnglishNames(TFormatSettings& F) {
    for (int I = 0; I < 12; ++I) {
        F.ShortMonthNames[I] = EnglishShortMonths[I];
        F.LongMonthNames[I] = EnglishLongMonths[I];
    }
    for (int I = 0; I < 7; ++I) {
        F.ShortDayNames[I] = EnglishShortDays[I];
        F.LongDayNames[I] = EnglishLongDays[I];
    }
}

} // namespace

TFormatSettings TFormatSettings::Invariant() {
    TFormatSettings F;
    F.DateSeparator = L'-';
    F.ShortDateFormat = L"yyyy-mm-dd";
    F.LongDateFormat = L"dddd, d mmmm yyyy";
    F.ShortTimeFormat = L"hh:nn";
    F.LongTimeFormat = L"hh:nn:ss";
    F.CurrencyString = L"\u00A4";
    SetEnglishNames(F);
    return F;
}

TFormatSettings TFormatSettings::FromUserLocale() {
    TFormatSettings F;
    SetEnglishNames(F);
    F.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, L'.');
    F.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, L',');
    F.DateSeparator = LocaleChar(LOCALE_SDATE, L'/');
    F.TimeSeparator = LocaleChar(LOCALE_STIME, L':');
    F.CurrencyString = LocaleText(LOCALE_SCURRENCY, F.CurrencyString);
    F.CurrencyFormat = LocaleInt(LOCALE_ICURRENCY, 0);
    F.CurrencyDecimals = LocaleInt(LOCALE_ICURRDIGITS, 2);
    F.ShortDateFormat = FromWindowsPicture(LocaleText(LOCALE_SSHORTDATE, L"M/d/yyyy"));
    F.LongDateFormat = FromWindowsPicture(LocaleText(LOCALE_SLONGDATE, L"dddd, MMMM d, yyyy"));
    F.ShortTimeFormat = FromWindowsPicture(LocaleText(LOCALE_SSHORTTIME, L"h:mm tt"));
    F.LongTimeFormat = FromWindowsPicture(LocaleText(LOCALE_STIMEFORMAT, L"h:mm:ss tt"));
    F.TimeAMString = LocaleText(LOCALE_S1159, L"AM");
    F.TimePMString = LocaleText(LOCALE_S2359, L"PM");
    for (int I = 0; I < 12; ++I) {
        F.ShortMonthNames[I] =
            LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + I), F.ShortMonthNames[I]);
        F.LongMonthNames[I] =
            LocaleText(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + I), F.LongMonthNames[I]);
    }
    // The locale's day names start with Monday.
    for (int I = 0; I < 7; ++I) {
        const int Day = (I + 6) % 7;
        F.ShortDayNames[I] =
            LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + Day), F.ShortDayNames[I]);
        F.LongDayNames[I] =
            LocaleText(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + Day), F.LongDayNames[I]);
    }
    return F;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings Settings = TFormatSettings::FromUserLocale();
    return Settings;
}

// ------------------------------------------------------------- floats

namespace {

String Widen(const char* First, const char* Last) {
    return String(First, Last);
}

// Value rounded to Precision significant digits: the digits (no leading zeros)
// and the decimal exponent of the first digit.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
};

TDecimal ToDecimal(double Value, int Precision) {
    char Buf[64];
    const auto Res = std::to_chars(Buf, Buf + sizeof(Buf), std::fabs(Value),
                                   std::chars_format::scientific, Precision - 1);
    const std::string Text(Buf, Res.ptr);
    TDecimal D;
    const std::size_t E = Text.find('e');
    for (std::size_t I = 0; I < E; ++I)
        if (Text[I] != '.')
            D.Digits += Text[I];
    D.Exponent = std::stoi(Text.substr(E + 1));
    while (D.Digits.size() > 1 && D.Digits.back() == '0')
        D.Digits.pop_back();
    return D;
}

String SpecialValue(double Value) {
    if (std::isnan(Value))
        return L"NAN";
    return Value < 0 ? L"-INF" : L"INF";
}

String GroupThousands(const String& IntPart, wchar_t Separator) {
    if (Separator == 0)
        return IntPart;
    String R;
    const std::size_t N = IntPart.size();
    for (std::size_t I = 0; I < N; ++I) {
        if (I > 0 && (N - I) % 3 == 0)
            R += Separator;
        R += IntPart[I];
    }
    return R;
}

// Unsigned fixed text with Decimals digits after the separator.
String FixedText(double Magnitude, int Decimals, const TFormatSettings& S, bool Group) {
    char Buf[400];
    const auto Res =
        std::to_chars(Buf, Buf + sizeof(Buf), Magnitude, std::chars_format::fixed, Decimals);
    if (Res.ec != std::errc())
        return L"0";
    String Text = Widen(Buf, Res.ptr);
    const std::size_t Dot = Text.find(L'.');
    String IntPart = Text.substr(0, Dot);
    if (Group)
        IntPart = GroupThousands(IntPart, S.ThousandSeparator);
    if (Dot == String::npos)
        return IntPart;
    return IntPart + S.DecimalSeparator + Text.substr(Dot + 1);
}

String ExponentText(int Exponent, int MinDigits, bool AlwaysSign) {
    String Digits = std::to_wstring(Exponent < 0 ? -Exponent : Exponent);
    if (static_cast<int>(Digits.size()) < MinDigits)
        Digits.insert(0, static_cast<std::size_t>(MinDigits) - Digits.size(), L'0');
    if (Exponent < 0)
        return L"E-" + Digits;
    return (AlwaysSign ? L"E+" : L"E") + Digits;
}

String GeneralText(double Value, int Precision, int ExpDigits, const TFormatSettings& S) {
    if (Value == 0)
        return L"0";
    const TDecimal D = ToDecimal(Value, Precision);
    String R = Value < 0 ? L"-" : L"";
    const int Count = static_cast<int>(D.Digits.size());
    if (D.Exponent >= Precision || D.Exponent < -5) {
        R += static_cast<wchar_t>(D.Digits[0]);
        if (Count > 1) {
            R += S.DecimalSeparator;
            R += Widen(D.Digits.data() + 1, D.Digits.data() + Count);
        }
        return R + ExponentText(D.Exponent, ExpDigits, false);
    }
    if (D.Exponent < 0) {
        R += L'0';
        R += S.DecimalSeparator;
        R += String(static_cast<std::size_t>(-D.Exponent - 1), L'0');
        return R + Widen(D.Digits.data(), D.Digits.data() + Count);
    }
    const int IntDigits = D.Exponent + 1;
    for (int I = 0; I < IntDigits; ++I)
        R += I < Count ? static_cast<wchar_t>(D.Digits[static_cast<std::size_t>(I)]) : L'0';
    if (Count > IntDigits) {
        R += S.DecimalSeparator;
        R += Widen(D.Digits.data() + IntDigits, D.Digits.data() + Count);
    }
    return R;
}

String ScientificText(double Value, int Precision, int ExpDigits, const TFormatSettings& S) {
    char Buf[64];
    const auto Res = std::to_chars(Buf, Buf + sizeof(Buf), std::fabs(Value),
                                   std::chars_format::scientific, Precision - 1);
    const std::string Text(Buf, Res.ptr);
    const std::size_t E = Text.find('e');
    String Mantissa(Text.begin(), Text.begin() + static_cast<std::ptrdiff_t>(E));
    const std::size_t Dot = Mantissa.find(L'.');
    if (Dot != String::npos)
        Mantissa[Dot] = S.DecimalSeparator;
    return (Value < 0 ? L"-" : L"") + Mantissa +
           ExponentText(std::stoi(Text.substr(E + 1)), ExpDigits, true);
}

int Clamp(int V, int Lo, int Hi) {
    return V < Lo ? Lo : (V > Hi ? Hi : V);
}

} // namespace

String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                   const TFormatSettings& Settings) {
    if (!std::isfinite(Value))
        return SpecialValue(Value);
    Precision = Clamp(Precision, 1, 18);
    Digits = Clamp(Digits, 0, 18);
    switch (Format) {
    case ffGeneral:
        return GeneralText(Value, Precision, Digits, Settings);
    case ffExponent:
        return ScientificText(Value, Precision, Digits, Settings);
    case ffFixed:
    case ffNumber:
    case ffCurrency:
        break;
    }
    // Too many integer digits for the precision: fall back to scientific form.
    if (Value != 0 && std::floor(std::log10(std::fabs(Value))) >= Precision)
        return ScientificText(Value, Precision, 0, Settings);
    const String Body = FixedText(std::fabs(Value), Digits, Settings, Format != ffFixed);
    // No "-0.00": the sign shows only when a digit survives the rounding.
    const bool Negative = Value < 0 && Body.find_first_of(L"123456789") != String::npos;
    if (Format != ffCurrency)
        return (Negative ? L"-" : L"") + Body;
    String R;
    switch (Settings.CurrencyFormat) {
    case 1:
        R = Body + Settings.CurrencyString;
        break;
    case 2:
        R = Settings.CurrencyString + L" " + Body;
        break;
    case 3:
        R = Body + L" " + Settings.CurrencyString;
        break;
    default:
        R = Settings.CurrencyString + Body;
    }
    return (Negative ? L"-" : L"") + R;
}

String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
    return FloatToStrF(Value, Format, Precision, Digits, FormatSettings());
}

String FloatToStr(double Value, const TFormatSettings& Settings) {
    return FloatToStrF(Value, ffGeneral, 15, 0, Settings);
}

String FloatToStr(double Value) {
    return FloatToStr(Value, FormatSettings());
}

bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& Settings) {
    const String T = Trim(S);
    std::string Narrow;
    for (const wchar_t C : T) {
        if (C == Settings.DecimalSeparator)
            Narrow += '.';
        else if ((C >= L'0' && C <= L'9') || C == L'+' || C == L'-' || C == L'e' || C == L'E')
            Narrow += static_cast<char>(C);
        else
            return false;
    }
    const char* First = Narrow.data();
    const char* Last = First + Narrow.size();
    if (First != Last && *First == '+')
        ++First;
    double V = 0;
    const auto Res = std::from_chars(First, Last, V, std::chars_format::general);
    if (Res.ec != std::errc() || Res.ptr != Last)
        return false;
    Value = V;
    return true;
}

bool TryStrToFloat(const String& S, double& Value) {
    return TryStrToFloat(S, Value, FormatSettings());
}

double StrToFloat(const String& S, const TFormatSettings& Settings) {
    double V;
    if (!TryStrToFloat(S, V, Settings))
        throw EConvertError(L"'" + S + L"' is not a valid floating point value");
    return V;
}

double StrToFloat(const String& S) {
    return StrToFloat(S, FormatSettings());
}

double StrToFloatDef(const String& S, double Default) {
    double V;
    return TryStrToFloat(S, V) ? V : Default;
}

// ---------------------------------------------------------------- Format

namespace {

// Widths and precisions beyond this are taken as malformed: an untrusted text
// must not make us build a huge string.
constexpr int MaxFieldSize = 9999;

struct TSpec {
    int Index = -1;
    bool LeftAlign = false;
    int Width = -1;
    int Precision = -1;
    wchar_t Type = 0;
    std::size_t End = 0; // one past the type character
    bool TooLarge = false;
};

bool ReadNumber(const String& F, std::size_t& I, int& Value, bool& TooLarge) {
    const std::size_t Start = I;
    long long V = 0;
    while (I < F.size() && F[I] >= L'0' && F[I] <= L'9') {
        if (V <= MaxFieldSize)
            V = V * 10 + (F[I] - L'0');
        ++I;
    }
    if (I == Start)
        return false;
    if (V > MaxFieldSize)
        TooLarge = true;
    Value = static_cast<int>(V > MaxFieldSize ? MaxFieldSize : V);
    return true;
}

// Parses the placeholder starting at F[Start] == '%'; false when no type
// character ends it.
bool ParseSpec(const String& F, std::size_t Start, TSpec& Spec) {
    std::size_t I = Start + 1;
    int N;
    std::size_t Save = I;
    if (ReadNumber(F, I, N, Spec.TooLarge) && I < F.size() && F[I] == L':') {
        Spec.Index = N;
        ++I;
    } else {
        I = Save;
        Spec.TooLarge = false;
    }
    if (I < F.size() && F[I] == L'-') {
        Spec.LeftAlign = true;
        ++I;
    }
    if (ReadNumber(F, I, N, Spec.TooLarge))
        Spec.Width = N;
    if (I < F.size() && F[I] == L'.') {
        ++I;
        if (!ReadNumber(F, I, N, Spec.TooLarge))
            return false;
        Spec.Precision = N;
    }
    if (I >= F.size())
        return false;
    const wchar_t T = static_cast<wchar_t>(F[I] | 0x20);
    if (String(L"sduxfgn").find(T) == String::npos || F[I] > 0x7F)
        return false;
    Spec.Type = T;
    Spec.End = I + 1;
    return true;
}

std::uint64_t UnsignedBits(const FormatArg& A) {
    const auto V = static_cast<std::uint64_t>(A.AsInteger());
    return A.Is64() ? V : (V & 0xFFFFFFFFu);
}

String ZeroPad(String Digits, int MinDigits) {
    if (MinDigits > static_cast<int>(Digits.size()))
        Digits.insert(0, static_cast<std::size_t>(MinDigits) - Digits.size(), L'0');
    return Digits;
}

String HexDigits(std::uint64_t V) {
    String R;
    do {
        R.insert(R.begin(), L"0123456789ABCDEF"[V & 0xF]);
        V >>= 4;
    } while (V != 0);
    return R;
}

// The converted argument, or false when the argument does not suit the type.
bool Convert(const TSpec& Spec, const FormatArg& A, const TFormatSettings& S, String& Out) {
    switch (Spec.Type) {
    case L's':
        if (!A.IsString())
            return false;
        Out = Spec.Precision >= 0 ? A.AsString().substr(0, static_cast<std::size_t>(Spec.Precision))
                                  : A.AsString();
        return true;
    case L'd': {
        if (!A.IsInteger())
            return false;
        const std::int64_t V = A.AsInteger();
        if (A.IsUnsigned() && A.Is64()) {
            Out = ZeroPad(std::to_wstring(static_cast<std::uint64_t>(V)), Spec.Precision);
        } else {
            const std::uint64_t M =
                V < 0 ? 0 - static_cast<std::uint64_t>(V) : static_cast<std::uint64_t>(V);
            Out = (V < 0 ? L"-" : L"") + ZeroPad(std::to_wstring(M), Spec.Precision);
        }
        return true;
    }
    case L'u':
        if (!A.IsInteger())
            return false;
        Out = ZeroPad(std::to_wstring(UnsignedBits(A)), Spec.Precision);
        return true;
    case L'x':
        if (!A.IsInteger())
            return false;
        Out = ZeroPad(HexDigits(UnsignedBits(A)), Spec.Precision);
        return true;
    case L'f':
    case L'g':
    case L'n': {
        if (A.IsString())
            return false;
        const double V = A.IsFloat() ? A.AsFloat() : static_cast<double>(A.AsInteger());
        if (Spec.Type == L'g')
            Out = FloatToStrF(V, ffGeneral, Spec.Precision >= 0 ? Spec.Precision : 15, 0, S);
        else
            Out = FloatToStrF(V, Spec.Type == L'f' ? ffFixed : ffNumber, 18,
                              Spec.Precision >= 0 ? Spec.Precision : 2, S);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

String Format(const String& Fmt, std::initializer_list<FormatArg> Args,
              const TFormatSettings& Settings) {
    const FormatArg* const ArgList = Args.begin();
    const std::size_t ArgCount = Args.size();
    String R;
    R.reserve(Fmt.size());
    std::size_t Next = 0;
    std::size_t I = 0;
    while (I < Fmt.size()) {
        const std::size_t Percent = Fmt.find(L'%', I);
        if (Percent == String::npos) {
            R.append(Fmt, I, String::npos);
            break;
        }
        R.append(Fmt, I, Percent - I);
        if (Percent + 1 < Fmt.size() && Fmt[Percent + 1] == L'%') {
            R += L'%';
            I = Percent + 2;
            continue;
        }
        TSpec Spec;
        if (!ParseSpec(Fmt, Percent, Spec)) {
            R += L'%';
            I = Percent + 1;
            continue;
        }
        const std::size_t ArgIndex = Spec.Index >= 0 ? static_cast<std::size_t>(Spec.Index) : Next;
        Next = ArgIndex + 1;
        String Text;
        if (Spec.TooLarge || ArgIndex >= ArgCount ||
            !Convert(Spec, ArgList[ArgIndex], Settings, Text)) {
            R.append(Fmt, Percent, Spec.End - Percent);
        } else {
            const std::size_t Width = Spec.Width > 0 ? static_cast<std::size_t>(Spec.Width) : 0;
            if (Text.size() < Width && !Spec.LeftAlign)
                R.append(Width - Text.size(), L' ');
            R += Text;
            if (Text.size() < Width && Spec.LeftAlign)
                R.append(Width - Text.size(), L' ');
        }
        I = Spec.End;
    }
    return R;
}

String Format(const String& Fmt, std::initializer_list<FormatArg> Args) {
    return Format(Fmt, Args, FormatSettings());
}
