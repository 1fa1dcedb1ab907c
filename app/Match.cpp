#include "app/Match.h"

#include "classlib/rtl/WinApi.h"

#include <algorithm>

namespace {

constexpr int AllAttributes = 0x3F; // read-only, hidden, system, volume, folder, archive

// Masks and names go through the same lower-casing so that they always agree.
void LowerCaseInPlace(String& S) {
    if (!S.empty())
        CharLowerBuffW(S.data(), static_cast<DWORD>(S.size()));
}

bool Contains(const String& S, wchar_t C) {
    return S.find(C) != String::npos;
}

} // namespace

TMatch::TMatch(TComponent* Owner) : TComponent(Owner) {
    SetAttributes(AllAttributes);
    SetMask(String());
}

String TMatch::Mask() const {
    String Result;
    for (const String& M : FMasks) {
        if (!Result.empty())
            Result += L';';
        Result += M;
    }
    return Result;
}

void TMatch::SetMask(const String& Text) {
    FMasks.clear();
    size_t Start = 0;
    for (size_t I = 0; I <= Text.size(); ++I) {
        if (I < Text.size() && Text[I] != L';' && Text[I] != L',')
            continue;
        String Piece = Trim(Text.substr(Start, I - Start));
        Start = I + 1;
        // An empty piece would become "**" and match every file: a stray separator
        // in the junk list must not turn the whole disk into junk.
        if (Piece.empty())
            continue;
        LowerCaseInPlace(Piece);
        const bool HasStar = Contains(Piece, L'*');
        if (!Contains(Piece, L'.')) {
            if (!HasStar)
                Piece = L'*' + Piece + L'*';
            else if (Piece.back() != L'*')
                Piece += L'*';
        }
        FMasks.push_back(std::move(Piece));
    }
    if (FMasks.empty())
        FMasks.push_back(L"*");
    std::stable_sort(FMasks.begin(), FMasks.end(),
                     [](const String& A, const String& B) { return AnsiCompareText(A, B) < 0; });
}

bool TMatch::Matches(std::wstring_view Name) const {
    if (Name.empty())
        return true;
    // One buffer per thread: the scans call this once per file.
    thread_local String Lower;
    Lower.assign(Name);
    LowerCaseInPlace(Lower);
    return std::any_of(FMasks.begin(), FMasks.end(),
                       [](const String& M) { return MatchMask(Lower, M); });
}

bool TMatch::MatchesFile(std::wstring_view Path) const {
    const size_t Sep = Path.find_last_of(L"\\:");
    return Matches(Sep == std::wstring_view::npos ? Path : Path.substr(Sep + 1));
}

bool TMatch::MatchMask(std::wstring_view Name, std::wstring_view Mask) {
    // Iterative wildcard match: on a mismatch, the last '*' takes one more
    // character and the rest of the mask is tried again from there.
    constexpr size_t None = std::wstring_view::npos;
    size_t N = 0, M = 0;
    size_t StarM = None, StarN = 0;
    while (N < Name.size()) {
        if (M < Mask.size() && Mask[M] == L'*') {
            StarM = M++;
            StarN = N;
        } else if (M < Mask.size() && (Mask[M] == L'?' || Mask[M] == Name[N])) {
            ++M;
            ++N;
        } else if (StarM != None) {
            M = StarM + 1;
            N = ++StarN;
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == L'*')
        ++M;
    return M == Mask.size();
}

bool TMatch::IsBlankMaskList(const String& Text) {
    for (const wchar_t C : Text)
        if (C > L' ' && C != L';' && C != L',')
            return false;
    return true;
}

int TMatch::Attributes() const {
    return ~FAttributesComplement & AllAttributes;
}

void TMatch::SetAttributes(int Value) {
    FAttributesComplement = ~Value & AllAttributes;
}
