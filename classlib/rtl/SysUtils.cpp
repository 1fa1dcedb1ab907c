// Exceptions, text conversions and the string and integer routines.
#include "classlib/rtl/SysUtils.h"

#include <climits>
#include <limits>

Exception::Exception(String Msg) : FMessage(std::move(Msg)), FUtf8(ToUtf8(FMessage)) {}

EOSError::EOSError(DWORD ErrorCode)
    : Exception(SysErrorMessage(ErrorCode)), FErrorCode(ErrorCode) {}

void Abort() {
    throw EAbort(L"Operation aborted");
}

// ----------------------------------------------------------- conversions

namespace {

int CheckedLength(std::size_t Size) {
    if (Size > static_cast<std::size_t>(INT_MAX))
        throw EConvertError(L"Text too long to convert");
    return static_cast<int>(Size);
}

std::string WideToNarrow(UINT CodePage, std::wstring_view S) {
    if (S.empty())
        return {};
    const int Len = CheckedLength(S.size());
    const int Bytes = WideCharToMultiByte(CodePage, 0, S.data(), Len, nullptr, 0, nullptr, nullptr);
    std::string Result(static_cast<std::size_t>(Bytes), '\0');
    WideCharToMultiByte(CodePage, 0, S.data(), Len, Result.data(), Bytes, nullptr, nullptr);
    return Result;
}

String NarrowToWide(UINT CodePage, std::string_view S) {
    if (S.empty())
        return {};
    const int Len = CheckedLength(S.size());
    const int Chars = MultiByteToWideChar(CodePage, 0, S.data(), Len, nullptr, 0);
    String Result(static_cast<std::size_t>(Chars), L'\0');
    MultiByteToWideChar(CodePage, 0, S.data(), Len, Result.data(), Chars);
    return Result;
}

} // namespace

std::string ToUtf8(std::wstring_view S) {
    return WideToNarrow(CP_UTF8, S);
}
String FromUtf8(std::string_view S) {
    return NarrowToWide(CP_UTF8, S);
}
std::string ToAnsi(std::wstring_view S) {
    return WideToNarrow(CP_ACP, S);
}
String FromAnsi(std::string_view S) {
    return NarrowToWide(CP_ACP, S);
}

// ------------------------------------------------------------- strings

String Trim(const String& S) {
    return TrimLeft(TrimRight(S));
}

String TrimLeft(const String& S) {
    std::size_t I = 0;
    while (I < S.size() && S[I] <= L' ')
        ++I;
    return S.substr(I);
}

String TrimRight(const String& S) {
    std::size_t N = S.size();
    while (N > 0 && S[N - 1] <= L' ')
        --N;
    return S.substr(0, N);
}

namespace {

wchar_t AsciiUpper(wchar_t C) {
    return (C >= L'a' && C <= L'z') ? static_cast<wchar_t>(C - 32) : C;
}
wchar_t AsciiLower(wchar_t C) {
    return (C >= L'A' && C <= L'Z') ? static_cast<wchar_t>(C + 32) : C;
}

String LocaleMap(const String& S, DWORD Flags) {
    if (S.empty())
        return S;
    const int Len = CheckedLength(S.size());
    const int Needed = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, S.data(), Len, nullptr, 0,
                                     nullptr, nullptr, 0);
    if (Needed <= 0)
        return S;
    String Result(static_cast<std::size_t>(Needed), L'\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, Flags, S.data(), Len, Result.data(), Needed, nullptr,
                  nullptr, 0);
    return Result;
}

int LocaleCompare(const String& S1, const String& S2, DWORD Flags) {
    const int R = CompareStringW(LOCALE_USER_DEFAULT, Flags, S1.data(), CheckedLength(S1.size()),
                                 S2.data(), CheckedLength(S2.size()));
    return R == 0 ? S1.compare(S2) : R - CSTR_EQUAL;
}

// Locale upper case that keeps every character in place, for case-insensitive
// searches whose positions must map back onto the original text.
String FoldInPlace(String S) {
    if (!S.empty())
        CharUpperBuffW(S.data(), static_cast<DWORD>(CheckedLength(S.size())));
    return S;
}

} // namespace

String LowerCase(const String& S) {
    String R = S;
    for (wchar_t& C : R)
        C = AsciiLower(C);
    return R;
}

String UpperCase(const String& S) {
    String R = S;
    for (wchar_t& C : R)
        C = AsciiUpper(C);
    return R;
}

String AnsiLowerCase(const String& S) {
    return LocaleMap(S, LCMAP_LOWERCASE);
}
String AnsiUpperCase(const String& S) {
    return LocaleMap(S, LCMAP_UPPERCASE);
}

int CompareText(const String& S1, const String& S2) {
    const std::size_t N = std::min(S1.size(), S2.size());
    for (std::size_t I = 0; I < N; ++I) {
        const int D = static_cast<int>(AsciiUpper(S1[I])) - static_cast<int>(AsciiUpper(S2[I]));
        if (D != 0)
            return D;
    }
    return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

int CompareStr(const String& S1, const String& S2) {
    const int R = S1.compare(S2);
    return R < 0 ? -1 : (R > 0 ? 1 : 0);
}

bool SameText(const String& S1, const String& S2) {
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

int AnsiCompareText(const String& S1, const String& S2) {
    return LocaleCompare(S1, S2, NORM_IGNORECASE);
}
int AnsiCompareStr(const String& S1, const String& S2) {
    return LocaleCompare(S1, S2, 0);
}
bool AnsiSameText(const String& S1, const String& S2) {
    return AnsiCompareText(S1, S2) == 0;
}

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags) {
    if (OldPattern.empty())
        return S;
    const bool IgnoreCase = Flags.Contains(rfIgnoreCase);
    const String Haystack = IgnoreCase ? FoldInPlace(S) : S;
    const String Needle = IgnoreCase ? FoldInPlace(OldPattern) : OldPattern;
    String Result;
    std::size_t From = 0;
    while (From <= S.size()) {
        const std::size_t At = Haystack.find(Needle, From);
        if (At == String::npos)
            break;
        Result.append(S, From, At - From);
        Result += NewPattern;
        From = At + Needle.size();
        if (!Flags.Contains(rfReplaceAll))
            break;
    }
    Result.append(S, std::min(From, S.size()), String::npos);
    return Result;
}

int Pos(const String& SubStr, const String& S) {
    return PosEx(SubStr, S, 1);
}

int PosEx(const String& SubStr, const String& S, int Offset) {
    if (SubStr.empty() || Offset < 1 || static_cast<std::size_t>(Offset) > S.size())
        return 0;
    const std::size_t At = S.find(SubStr, static_cast<std::size_t>(Offset - 1));
    return At == String::npos ? 0 : static_cast<int>(At) + 1;
}

String Copy(const String& S, int Index, int Count) {
    if (Index < 1)
        Index = 1;
    if (Count <= 0 || static_cast<std::size_t>(Index) > S.size())
        return {};
    return S.substr(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(Count));
}

int LastDelimiter(const String& Delimiters, const String& S) {
    const std::size_t At = S.find_last_of(Delimiters);
    return At == String::npos ? 0 : static_cast<int>(At) + 1;
}

String StringOfChar(wchar_t Ch, int Count) {
    return Count > 0 ? String(static_cast<std::size_t>(Count), Ch) : String();
}

// ------------------------------------------------------------- integers

String IntToStr(std::int64_t Value) {
    return std::to_wstring(Value);
}

String IntToHex(std::int64_t Value, int Digits) {
    static const wchar_t HexDigits[] = L"0123456789ABCDEF";
    auto U = static_cast<std::uint64_t>(Value);
    String R;
    do {
        R.insert(R.begin(), HexDigits[U & 0xF]);
        U >>= 4;
    } while (U != 0);
    if (Digits > 16)
        Digits = 16;
    if (static_cast<int>(R.size()) < Digits)
        R.insert(0, static_cast<std::size_t>(Digits) - R.size(), L'0');
    return R;
}

namespace {

// Parses [blanks][sign](digits | $hex | 0xhex) into a magnitude; hex texts
// may use the full unsigned range of the target (the classic "$FFFFFFFF" = -1).
bool ParseInteger(const String& S, std::uint64_t MaxMagnitude, std::uint64_t MaxHex, bool& Negative,
                  std::uint64_t& Magnitude, bool& Hex) {
    std::size_t I = 0;
    while (I < S.size() && S[I] <= L' ')
        ++I;
    Negative = false;
    if (I < S.size() && (S[I] == L'-' || S[I] == L'+')) {
        Negative = S[I] == L'-';
        ++I;
    }
    Hex = false;
    if (I < S.size() && S[I] == L'$') {
        Hex = true;
        ++I;
    } else if (I + 1 < S.size() && S[I] == L'0' && (S[I + 1] == L'x' || S[I + 1] == L'X')) {
        Hex = true;
        I += 2;
    }
    if (I >= S.size())
        return false;
    const std::uint64_t Limit = Hex ? MaxHex : MaxMagnitude;
    const unsigned Base = Hex ? 16 : 10;
    Magnitude = 0;
    for (; I < S.size(); ++I) {
        const wchar_t C = S[I];
        unsigned D;
        if (C >= L'0' && C <= L'9')
            D = static_cast<unsigned>(C - L'0');
        else if (Hex && C >= L'a' && C <= L'f')
            D = static_cast<unsigned>(C - L'a' + 10);
        else if (Hex && C >= L'A' && C <= L'F')
            D = static_cast<unsigned>(C - L'A' + 10);
        else
            return false;
        // Overflow checks without a division per digit: sort keys parse a million of these.
        std::uint64_t Next;
        if (__builtin_mul_overflow(Magnitude, Base, &Next) ||
            __builtin_add_overflow(Next, D, &Next) || Next > Limit)
            return false;
        Magnitude = Next;
    }
    return true;
}

} // namespace

bool TryStrToInt64(const String& S, std::int64_t& Value) {
    bool Negative, Hex;
    std::uint64_t M;
    constexpr auto Max = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!ParseInteger(S, Max + 1, std::numeric_limits<std::uint64_t>::max(), Negative, M, Hex))
        return false;
    if (!Hex && !Negative && M > Max)
        return false;
    const auto V = static_cast<std::int64_t>(M);
    Value = Negative ? static_cast<std::int64_t>(0 - M) : V;
    return true;
}

bool TryStrToInt(const String& S, int& Value) {
    bool Negative, Hex;
    std::uint64_t M;
    constexpr auto Max = static_cast<std::uint64_t>(INT_MAX);
    if (!ParseInteger(S, Max + 1, 0xFFFFFFFFu, Negative, M, Hex))
        return false;
    if (!Hex && !Negative && M > Max)
        return false;
    const auto Bits = static_cast<std::uint32_t>(Negative ? 0 - M : M);
    Value = static_cast<int>(Bits);
    return true;
}

int StrToInt(const String& S) {
    int V;
    if (!TryStrToInt(S, V))
        throw EConvertError(L"'" + S + L"' is not a valid integer value");
    return V;
}

std::int64_t StrToInt64(const String& S) {
    std::int64_t V;
    if (!TryStrToInt64(S, V))
        throw EConvertError(L"'" + S + L"' is not a valid integer value");
    return V;
}

int StrToIntDef(const String& S, int Default) {
    int V;
    return TryStrToInt(S, V) ? V : Default;
}

std::int64_t StrToInt64Def(const String& S, std::int64_t Default) {
    std::int64_t V;
    return TryStrToInt64(S, V) ? V : Default;
}
