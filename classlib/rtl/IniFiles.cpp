// TCustomIniFile helpers, TIniFile over the profile functions, TMemIniFile.
#include "classlib/rtl/IniFiles.h"
#include "classlib/rtl/PathLayer.h"

#include <algorithm>

// --------------------------------------------------------- TCustomIniFile

int TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int Default) const {
    return StrToIntDef(Trim(ReadString(Section, Ident, L"")), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

std::int64_t TCustomIniFile::ReadInt64(const String& Section, const String& Ident,
                                       std::int64_t Default) const {
    return StrToInt64Def(Trim(ReadString(Section, Ident, L"")), Default);
}

void TCustomIniFile::WriteInt64(const String& Section, const String& Ident, std::int64_t Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) const {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
    WriteString(Section, Ident, Value ? L"1" : L"0");
}

TDateTime TCustomIniFile::ReadDateTime(const String& Section, const String& Ident,
                                       TDateTime Default) const {
    TDateTime V;
    return TryStrToDateTime(ReadString(Section, Ident, L""), V) ? V : Default;
}

void TCustomIniFile::WriteDateTime(const String& Section, const String& Ident, TDateTime Value) {
    WriteString(Section, Ident, DateTimeToStr(Value));
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) const {
    double V;
    return TryStrToFloat(ReadString(Section, Ident, L""), V) ? V : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const String& Section) const {
    TStringList Sections;
    ReadSections(Sections);
    return Sections.IndexOf(Section) >= 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) const {
    TStringList Keys;
    ReadSection(Section, Keys);
    return Keys.IndexOf(Ident) >= 0;
}

// --------------------------------------------------------------- TIniFile

namespace {

// Largest value or list we ask the profile functions for (in characters).
constexpr DWORD MaxProfileBuffer = 16 * 1024 * 1024;

// Runs a profile call that fills a buffer, growing the buffer until the result
// fits. Full is the return value that signals truncation for a given size.
template <typename Call, typename Truncated>
String ProfileBuffer(Call Fill, Truncated IsTruncated) {
    String Buf(1024, L'\0');
    for (;;) {
        const auto Size = static_cast<DWORD>(Buf.size());
        const DWORD N = Fill(Buf.data(), Size);
        if (!IsTruncated(N, Size) || Size >= MaxProfileBuffer) {
            Buf.resize(std::min<DWORD>(N, Size));
            return Buf;
        }
        Buf.resize(Buf.size() * 2);
    }
}

// Splits a list of zero-terminated names ended by an empty one.
void SplitNameList(const String& List, TStrings& Strings) {
    Strings.BatchUpdate([&] {
        Strings.Clear();
        std::size_t I = 0;
        while (I < List.size() && List[I] != L'\0') {
            const std::size_t End = std::min(List.find(L'\0', I), List.size());
            Strings.Add(List.substr(I, End - I));
            I = End + 1;
        }
    });
}

// A default no stored value can equal, so that a missing key is told apart
// from one holding the caller's default (which the profile API would trim).
const wchar_t* const MissingMarker = L"\x01\x02\x03missing\x03\x02\x01";

EIniFileException WriteError(const String& FileName, DWORD Error) {
    return EIniFileException(L"Unable to write to " + FileName + L": " + SysErrorMessage(Error));
}

// Removes the key Ident, or the whole section when Ident is null. A file that
// does not exist has nothing to remove, which is no failure.
void RemoveProfileEntry(const String& FileName, const String& Section, const wchar_t* Ident) {
    if (WritePrivateProfileStringW(Section.c_str(), Ident, nullptr, FileName.c_str()))
        return;
    const DWORD Error = GetLastError();
    if (FileExists(FileName))
        throw WriteError(FileName, Error);
}

} // namespace

TIniFile::TIniFile(const String& FileName) : TCustomIniFile(ExpandFileName(FileName)) {}

String TIniFile::ReadString(const String& Section, const String& Ident,
                            const String& Default) const {
    const String Value = ProfileBuffer(
        [&](wchar_t* Buf, DWORD Size) {
            return GetPrivateProfileStringW(Section.c_str(), Ident.c_str(), MissingMarker, Buf,
                                            Size, FileName().c_str());
        },
        [](DWORD N, DWORD Size) { return N == Size - 1; });
    return Value == MissingMarker ? Default : Value;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    if (!WritePrivateProfileStringW(Section.c_str(), Ident.c_str(), Value.c_str(),
                                    FileName().c_str()))
        throw WriteError(FileName(), GetLastError());
}

bool TIniFile::SectionExists(const String& Section) const {
    TStringList Sections;
    ReadSections(Sections);
    for (int I = 0; I < Sections.Count(); ++I)
        if (AnsiSameText(Sections.StringRef(I), Section))
            return true;
    return false;
}

void TIniFile::ReadSection(const String& Section, TStrings& Strings) const {
    SplitNameList(ProfileBuffer(
                      [&](wchar_t* Buf, DWORD Size) {
                          return GetPrivateProfileStringW(Section.c_str(), nullptr, L"", Buf, Size,
                                                          FileName().c_str());
                      },
                      [](DWORD N, DWORD Size) { return N + 2 >= Size; }),
                  Strings);
}

void TIniFile::ReadSections(TStrings& Strings) const {
    SplitNameList(ProfileBuffer(
                      [&](wchar_t* Buf, DWORD Size) {
                          return GetPrivateProfileSectionNamesW(Buf, Size, FileName().c_str());
                      },
                      [](DWORD N, DWORD Size) { return N + 2 >= Size; }),
                  Strings);
}

void TIniFile::ReadSectionValues(const String& Section, TStrings& Strings) const {
    TStringList Keys;
    ReadSection(Section, Keys);
    Strings.BatchUpdate([&] {
        Strings.Clear();
        for (int I = 0; I < Keys.Count(); ++I)
            Strings.Add(Keys.StringRef(I) + L"=" + ReadString(Section, Keys.StringRef(I), L""));
    });
}

void TIniFile::EraseSection(const String& Section) {
    RemoveProfileEntry(FileName(), Section, nullptr);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
    RemoveProfileEntry(FileName(), Section, Ident.c_str());
}

void TIniFile::UpdateFile() {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, FileName().c_str());
}

// ------------------------------------------------------------ TMemIniFile

namespace {

bool SameName(const String& A, const String& B) {
    return CompareStringOrdinal(A.data(), static_cast<int>(A.size()), B.data(),
                                static_cast<int>(B.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName) {
    const DWORD Attr = GetFileAttributesW(ExtendedPath(FileName).c_str());
    if (Attr == INVALID_FILE_ATTRIBUTES) {
        const DWORD Err = GetLastError();
        if (Err == ERROR_FILE_NOT_FOUND || Err == ERROR_PATH_NOT_FOUND)
            return;
    }
    Parse(DecodeText(ReadFileBytes(FileName), FEncoding));
}

const TMemIniFile::TSection* TMemIniFile::FindSection(const String& Section) const {
    for (const TSection& S : FSections)
        if (SameName(S.Name, Section))
            return &S;
    return nullptr;
}

TMemIniFile::TSection* TMemIniFile::FindSection(const String& Section) {
    return const_cast<TSection*>(std::as_const(*this).FindSection(Section));
}

void TMemIniFile::Parse(const String& Text) {
    FSections.clear();
    TSection* Current = nullptr;
    TStringList Lines;
    Lines.SetText(Text);
    for (int I = 0; I < Lines.Count(); ++I) {
        const String Line = Trim(Lines.StringRef(I));
        if (Line.empty() || Line[0] == L';')
            continue;
        const std::size_t Close = Line.find(L']');
        if (Line[0] == L'[' && Close != String::npos) {
            const String Name = Trim(Line.substr(1, Close - 1));
            // A repeated section adds to the first one of that name.
            Current = FindSection(Name);
            if (Current == nullptr) {
                FSections.push_back(TSection{Name, {}});
                Current = &FSections.back();
            }
            continue;
        }
        if (Current == nullptr)
            continue;
        const std::size_t Eq = Line.find(L'=');
        if (Eq == String::npos)
            Current->Entries.push_back(TEntry{Line, L"", false});
        else
            Current->Entries.push_back(
                TEntry{TrimRight(Line.substr(0, Eq)), Line.substr(Eq + 1), true});
    }
}

const TMemIniFile::TEntry* TMemIniFile::FindKey(const String& Section, const String& Ident) const {
    if (const TSection* S = FindSection(Section))
        for (const TEntry& E : S->Entries)
            if (E.HasValue && SameName(E.Name, Ident))
                return &E;
    return nullptr;
}

TMemIniFile::TEntry* TMemIniFile::FindKey(const String& Section, const String& Ident) {
    return const_cast<TEntry*>(std::as_const(*this).FindKey(Section, Ident));
}

String TMemIniFile::ReadString(const String& Section, const String& Ident,
                               const String& Default) const {
    const TEntry* E = FindKey(Section, Ident);
    return E ? E->Value : Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    if (TEntry* E = FindKey(Section, Ident)) {
        E->Value = Value;
        return;
    }
    TSection* S = FindSection(Section);
    if (S == nullptr) {
        FSections.push_back(TSection{Section, {}});
        S = &FSections.back();
    }
    S->Entries.push_back(TEntry{Ident, Value, true});
}

bool TMemIniFile::SectionExists(const String& Section) const {
    return FindSection(Section) != nullptr;
}

bool TMemIniFile::ValueExists(const String& Section, const String& Ident) const {
    return FindKey(Section, Ident) != nullptr;
}

template <typename Line>
void TMemIniFile::ListKeys(const String& Section, TStrings& Strings, Line KeyLine) const {
    Strings.BatchUpdate([&] {
        Strings.Clear();
        if (const TSection* S = FindSection(Section))
            for (const TEntry& E : S->Entries)
                if (E.HasValue)
                    Strings.Add(KeyLine(E));
    });
}

void TMemIniFile::ReadSection(const String& Section, TStrings& Strings) const {
    ListKeys(Section, Strings, [](const TEntry& E) { return E.Name; });
}

void TMemIniFile::ReadSections(TStrings& Strings) const {
    Strings.BatchUpdate([&] {
        Strings.Clear();
        for (const TSection& S : FSections)
            Strings.Add(S.Name);
    });
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings& Strings) const {
    ListKeys(Section, Strings, [](const TEntry& E) { return E.Name + L"=" + E.Value; });
}

void TMemIniFile::EraseSection(const String& Section) {
    std::erase_if(FSections, [&](const TSection& S) { return SameName(S.Name, Section); });
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
    if (TSection* S = FindSection(Section))
        std::erase_if(S->Entries,
                      [&](const TEntry& E) { return E.HasValue && SameName(E.Name, Ident); });
}

String TMemIniFile::ToText() const {
    String R;
    for (const TSection& S : FSections) {
        R += L"[" + S.Name + L"]\r\n";
        for (const TEntry& E : S.Entries)
            R += (E.HasValue ? E.Name + L"=" + E.Value : E.Name) + L"\r\n";
        R += L"\r\n";
    }
    return R;
}

void TMemIniFile::UpdateFile() {
    const String Text = ToText();
    TTextEncoding Encoding = FEncoding;
    if (Encoding == TTextEncoding::Ansi && !FitsAnsi(Text))
        Encoding = TTextEncoding::Utf16LE;
    WriteFileBytes(FileName(), EncodeText(Text, Encoding));
    FEncoding = Encoding;
}

void TMemIniFile::Clear() {
    FSections.clear();
}

void TMemIniFile::SetStrings(const TStrings& Strings) {
    Parse(Strings.Text());
}

void TMemIniFile::GetStrings(TStrings& Strings) const {
    Strings.SetText(ToText());
}
