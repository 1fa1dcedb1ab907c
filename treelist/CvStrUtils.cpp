#include "treelist/CvStrUtils.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <memory>
#include <vector>

// ------------------------------------------------------------ case table

namespace {

constexpr TCaseTableEntry CaseRows[] = {
#include "treelist/CvCaseTable.inc"
};

// For one direction: per status mask 0..15, per unit, the first matching entry number.
using TCaseLookupSet = std::array<std::vector<std::uint16_t>, 16>;

std::unique_ptr<TCaseLookupSet> BuildLookupSet(TCaseDirection Direction) {
    auto Set = std::make_unique<TCaseLookupSet>();
    for (unsigned Mask = 0; Mask < 16; ++Mask) {
        auto& Slots = (*Set)[Mask];
        Slots.assign(65536, 0);
        for (std::size_t J = 0; J < std::size(CaseRows); ++J) {
            const TCaseTableEntry& Row = CaseRows[J];
            const std::uint16_t Key =
                Direction == TCaseDirection::Forward ? Row.Code : Row.Folded[0];
            if (Slots[Key] == 0 && (Row.Status & Mask) != 0)
                Slots[Key] = static_cast<std::uint16_t>(J + 1);
        }
    }
    return Set;
}

// Each direction's set is built on its first lookup and kept for the life of the program.
const TCaseLookupSet& LookupSet(TCaseDirection Direction) {
    if (Direction == TCaseDirection::Forward) {
        static const std::unique_ptr<TCaseLookupSet> Forward = BuildLookupSet(Direction);
        return *Forward;
    }
    static const std::unique_ptr<TCaseLookupSet> Reverse = BuildLookupSet(Direction);
    return *Reverse;
}

const TCaseTableEntry& Row(int Entry) {
    return CaseRows[Entry - 1];
}

} // namespace

std::span<const TCaseTableEntry> UnicodeCaseTable() {
    return CaseRows;
}

int CaseTableLookup(wchar_t Unit, TCaseDirection Direction, unsigned Mask) {
    return LookupSet(Direction)[Mask & 15][static_cast<std::uint16_t>(Unit)];
}

int CaseTableMatchLength(const String& S, int Index, int Entry) {
    const TCaseTableEntry& E = Row(Entry);
    for (int N = 0; N < 3; ++N) {
        const std::size_t At = static_cast<std::size_t>(Index - 1 + N);
        if (Index < 1 || At >= S.size() || S[At] != E.Folded[N])
            return 0;
        if (N == 2 || E.Folded[N + 1] == 0)
            return N + 1;
    }
    return 0;
}

String CaseTableConvert(const String& S, TCaseDirection Direction, unsigned Mask) {
    String Result = S;
    for (std::size_t I = 0; I < Result.size(); ++I) {
        const int K = CaseTableLookup(Result[I], Direction, Mask);
        if (K == 0 || (Row(K).Status & Mask) == 0)
            continue;
        const TCaseTableEntry& E = Row(K);
        if (Direction == TCaseDirection::Reverse) {
            const int N = CaseTableMatchLength(Result, static_cast<int>(I) + 1, K);
            if (N > 0)
                Result.replace(I, static_cast<std::size_t>(N), 1, static_cast<wchar_t>(E.Code));
        } else if (Result[I] == E.Code) {
            Result[I] = static_cast<wchar_t>(E.Folded[0]);
            for (int F = 1; F < 3 && E.Folded[F] != 0; ++F)
                Result.insert(++I, 1, static_cast<wchar_t>(E.Folded[F]));
        }
    }
    return Result;
}

String CaseTableUpper(const String& S) {
    return CaseTableConvert(S, TCaseDirection::Reverse, CaseStatusC | CaseStatusS | CaseStatusT);
}

String WideFoldCase(const String& S) {
    return S.empty() ? S : CaseTableUpper(S);
}

wchar_t WideFoldUnit(wchar_t Unit) {
    static const std::vector<wchar_t> Table = [] {
        std::vector<wchar_t> T(0x10000);
        for (std::size_t U = 0; U < T.size(); ++U) {
            const String One = CaseTableUpper(String(1, static_cast<wchar_t>(U)));
            T[U] = One.size() == 1 ? One[0] : static_cast<wchar_t>(U);
        }
        return T;
    }();
    return Table[static_cast<std::uint16_t>(Unit)];
}

// ------------------------------------------------------ numbers in text

namespace {

[[noreturn]] void NotAnInteger(const String& S) {
    throw EConvertError(Format(L"'%s' is not a valid integer value", {S}));
}

} // namespace

std::int32_t HexToInt(const String& S) {
    String Text = S;
    if (!Text.empty() && Text[0] == L'$')
        Text.erase(0, 1);
    Text = Trim(Text);
    if (Text.empty())
        NotAnInteger(Text);
    const bool Negative = Text[0] == L'-';
    if (Text[0] == L'-' || Text[0] == L'+')
        Text.erase(0, 1);
    if (Text.empty())
        NotAnInteger(Text);
    std::uint32_t Value = 0;
    for (const wchar_t C : Text) {
        const wchar_t U = (C >= L'a' && C <= L'f') ? static_cast<wchar_t>(C - 32) : C;
        std::uint32_t Digit;
        if (U >= L'0' && U <= L'9')
            Digit = static_cast<std::uint32_t>(U - L'0');
        else if (U >= L'A' && U <= L'F')
            Digit = static_cast<std::uint32_t>(U - L'A' + 10);
        else
            NotAnInteger(Text);
        Value = Value * 16 + Digit;
    }
    return static_cast<std::int32_t>(Negative ? 0u - Value : Value);
}

std::int32_t HexToIntDef(const String& S, std::int32_t Default) {
    try {
        return HexToInt(S);
    } catch (...) {
        return Default;
    }
}

TCurrency ParseCurrencyText(const String& S) {
    const TFormatSettings& Settings = FormatSettings();
    return ParseCurrencyText(S, Settings.CurrencyString, Settings.DecimalSeparator,
                             Settings.ThousandSeparator);
}

TCurrency ParseCurrencyText(const String& S, const String& CurrencySymbol, wchar_t DecimalSeparator,
                            wchar_t ThousandSeparator) {
    // Unsigned arithmetic: an absurdly long number wraps instead of overflowing.
    std::uint64_t Result = 0;
    bool Negative = false;
    bool DigitSeen = false;
    std::uint64_t Weight = 0;
    const std::size_t Symbol = CurrencySymbol.empty() ? String::npos : S.find(CurrencySymbol);
    std::size_t I = 0;
    while (I < S.size()) {
        const wchar_t C = S[I];
        if (I == Symbol) {
            if (DigitSeen && Negative)
                break;
            I += CurrencySymbol.size();
            continue;
        }
        if (C == L'(' || C == L'-') {
            Negative = true;
            if (DigitSeen)
                break;
        } else if (C >= L'0' && C <= L'9') {
            const std::uint64_t D = static_cast<std::uint64_t>(C - L'0');
            DigitSeen = true;
            if (Weight == 0) {
                Result = Result * 10 + D * 10000;
            } else {
                Result += D * Weight;
                Weight = (Weight + 5) / 10;
            }
        } else if (C == L',' || C == L'.' || C == DecimalSeparator) {
            DigitSeen = true;
            if (Weight > 0)
                break;
            Weight = 1000;
        } else if (C != ThousandSeparator && C > L' ') {
            break;
        }
        ++I;
    }
    const auto Value = static_cast<TCurrency>(Result);
    return Negative ? -Value : Value;
}

// ------------------------------------------------ comparison and search

int WideCompareOrdinal(const String& A, const String& B) {
    const int C = A.compare(B); // char_traits<wchar_t> compares wchar_t, unsigned here
    return C < 0 ? -1 : (C > 0 ? 1 : 0);
}

int WideBufCompare(const wchar_t* A, const wchar_t* B) {
    for (;; ++A, ++B) {
        if (*A != *B)
            return static_cast<int>(*A) - static_cast<int>(*B);
        if (*B == 0)
            return 0;
    }
}

int WideCompareStr(const String& A, const String& B) {
    return WideBufCompare(A.c_str(), B.c_str());
}

bool SameTextNoCase(const std::string& A, const std::string& B) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, A.data(),
                          static_cast<int>(A.size()), B.data(),
                          static_cast<int>(B.size())) == CSTR_EQUAL;
}

int WidePos(const String& Sub, const String& S) {
    if (Sub.empty())
        return 0;
    const std::size_t At = S.find(Sub);
    return At == String::npos ? 0 : static_cast<int>(At) + 1;
}

int WideLastPos(const String& Sub, const String& S) {
    if (Sub.empty() || S.empty())
        return 0;
    const std::size_t At = S.rfind(Sub);
    return At == String::npos ? 0 : static_cast<int>(At) + 1;
}

const wchar_t* WideStrPos(const wchar_t* Text, const wchar_t* Sub) {
    if (Text == nullptr || Sub == nullptr || *Sub == 0)
        return nullptr;
    return std::wcsstr(Text, Sub);
}

const wchar_t* WideStrScan(const wchar_t* Text, wchar_t Unit) {
    for (;; ++Text) {
        if (*Text == Unit)
            return Text;
        if (*Text == 0)
            return nullptr;
    }
}

const wchar_t* WideStrRScan(const wchar_t* Text, wchar_t Unit) {
    const wchar_t* Found = nullptr;
    for (;; ++Text) {
        if (*Text == Unit)
            Found = Text;
        if (*Text == 0)
            return Found;
    }
}

bool AnsiPrefixMatch(const char* Text, const char* Prefix) {
    if (Prefix == nullptr)
        return true;
    if (Text == nullptr)
        return false;
    return std::strncmp(Text, Prefix, std::strlen(Prefix)) == 0;
}

bool AnsiContainsAt(const std::string& S, int Index, const std::string& Sub) {
    if (Index < 1 || static_cast<std::size_t>(Index) > S.size())
        return false;
    return S.compare(static_cast<std::size_t>(Index - 1), Sub.size(), Sub) == 0;
}

// ---------------------------------------------------- buffers and strings

int WideStrLen(const wchar_t* Text) {
    return static_cast<int>(std::wcslen(Text));
}

wchar_t* WideStrEnd(wchar_t* Text) {
    return Text + std::wcslen(Text);
}

wchar_t* WideStrCopy(wchar_t* Dest, const wchar_t* Src) {
    return std::wcscpy(Dest, Src);
}

wchar_t* WideStrLCopy(wchar_t* Dest, const wchar_t* Src, int MaxLen) {
    int I = 0;
    for (; I < MaxLen && Src[I] != 0; ++I)
        Dest[I] = Src[I];
    Dest[I] = 0;
    return Dest;
}

wchar_t* WideCopyToBuffer(wchar_t* Dest, const String& S) {
    return WideStrLCopy(Dest, S.c_str(), static_cast<int>(S.size()));
}

wchar_t* WideStrCat(wchar_t* Dest, const wchar_t* Src) {
    return std::wcscat(Dest, Src);
}

void WideStrMove(const wchar_t* Src, wchar_t* Dest, int Count) {
    if (Count > 0)
        std::wmemmove(Dest, Src, static_cast<std::size_t>(Count));
}

void WideFillUnits(wchar_t* Dest, int Count, wchar_t Unit) {
    if (Count > 0)
        std::wmemset(Dest, Unit, static_cast<std::size_t>(Count));
}

String WideFromBuffer(const wchar_t* Text) {
    return Text == nullptr ? String() : String(Text);
}

void WideSetString(String& S, const wchar_t* Buffer, int Length) {
    const std::size_t N = static_cast<std::size_t>(std::max(Length, 0));
    S = Buffer == nullptr ? String(N, L'\0') : String(Buffer, N);
}

String WideStringOfChar(wchar_t Unit, int Count) {
    return StringOfChar(Unit, Count);
}

String WideCopyRange(const String& S, int Index, int Count) {
    return Copy(S, Index, Count);
}

void WideDelete(String& S, int Index, int Count) {
    WideCutOut(S, Index, Count);
}

String WideCutOut(String& S, int Index, int Count) {
    if (Index < 1 || static_cast<std::size_t>(Index) > S.size() || Count <= 0)
        return String();
    const std::size_t At = static_cast<std::size_t>(Index - 1);
    String Part = S.substr(At, static_cast<std::size_t>(Count));
    S.erase(At, Part.size());
    return Part;
}
