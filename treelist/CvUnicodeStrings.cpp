#include "treelist/CvUnicodeStrings.h"

#include "treelist/CvList.h"
#include "treelist/CvStrUtils.h"
#include "treelist/CvTools.h"

#include <cstring>
#include <utility>

namespace {

[[noreturn]] void IndexError(int Index) {
    throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
}

[[noreturn]] void StoredFormError() {
    throw EReadError(L"Error while reading wide strings list");
}

// Value types of the stored form.
constexpr std::uint8_t vaNull = 0; // list end
constexpr std::uint8_t vaList = 1;
constexpr std::uint8_t vaString = 6;
constexpr std::uint8_t vaLString = 12;
constexpr std::uint8_t vaWString = 18;

} // namespace

// ---------------------------------------------------------- TCvWideStrings

template <typename Fn> void TCvWideStrings::Batch(Fn&& Change) {
    BeginUpdate();
    try {
        Change();
    } catch (...) {
        // The change's own error is the one to report, not a listener's.
        try {
            EndUpdate();
        } catch (...) {
        }
        throw;
    }
    EndUpdate();
}

void TCvWideStrings::BeginUpdate() {
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TCvWideStrings::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        SetUpdateState(false);
}

void TCvWideStrings::SetStrings(int Index, const String& S) {
    TObject* const Obj = Objects(Index);
    Delete(Index);
    InsertObject(Index, S, Obj);
}

TObject* TCvWideStrings::Objects(int) const {
    return nullptr;
}

void TCvWideStrings::SetObjects(int, TObject*) {}

int TCvWideStrings::Add(const String& S) {
    const int Index = Count();
    Insert(Index, S);
    return Index;
}

int TCvWideStrings::AddObject(const String& S, TObject* AObject) {
    const int Index = Add(S);
    SetObjects(Index, AObject);
    return Index;
}

void TCvWideStrings::AddStrings(const TCvWideStrings& Strings) {
    Batch([&] {
        for (int I = 0; I < Strings.Count(); ++I)
            AddObject(Strings.Strings(I), Strings.Objects(I));
    });
}

void TCvWideStrings::InsertObject(int Index, const String& S, TObject* AObject) {
    Insert(Index, S);
    SetObjects(Index, AObject);
}

void TCvWideStrings::Exchange(int Index1, int Index2) {
    Batch([&] {
        const String S1 = Strings(Index1);
        TObject* const O1 = Objects(Index1);
        SetStrings(Index1, Strings(Index2));
        SetObjects(Index1, Objects(Index2));
        SetStrings(Index2, S1);
        SetObjects(Index2, O1);
    });
}

void TCvWideStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    Batch([&] {
        const String S = Strings(CurIndex);
        TObject* const Obj = Objects(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, S, Obj);
    });
}

int TCvWideStrings::IndexOf(const String& S) const {
    for (int I = 0; I < Count(); ++I)
        if (Strings(I) == S)
            return I;
    return -1;
}

int TCvWideStrings::IndexOfName(const String& Name) const {
    for (int I = 0; I < Count(); ++I) {
        const String S = Strings(I);
        const std::size_t Equals = S.find(L'=');
        if (Equals != String::npos && S.compare(0, Equals, Name) == 0)
            return I;
    }
    return -1;
}

String TCvWideStrings::Values(const String& Name) const {
    const int Index = IndexOfName(Name);
    return Index < 0 ? String() : Strings(Index).substr(Name.size() + 1);
}

bool TCvWideStrings::Equals(const TCvWideStrings& Other) const {
    if (Count() != Other.Count())
        return false;
    for (int I = 0; I < Count(); ++I)
        if (Strings(I) != Other.Strings(I))
            return false;
    return true;
}

String TCvWideStrings::Text() const {
    String Result;
    for (int I = 0; I < Count(); ++I)
        Result += Strings(I) + L"\r\n";
    return Result;
}

void TCvWideStrings::SetText(const String& Value) {
    Batch([&] {
        Clear();
        // The text stops at a zero unit.
        ForEachTextLine(Value.substr(0, Value.find(L'\0')),
                        [this](const String& Line) { Add(Line); });
    });
}

std::unique_ptr<wchar_t[]> TCvWideStrings::TextBuffer() const {
    const String S = Text();
    auto Buffer = std::make_unique<wchar_t[]>(S.size() + 1);
    std::memcpy(Buffer.get(), S.c_str(), (S.size() + 1) * sizeof(wchar_t));
    return Buffer;
}

void TCvWideStrings::SetText(const wchar_t* Value) {
    SetText(WideFromBuffer(Value));
}

void TCvWideStrings::LoadFromStream(TStream& Stream) {
    Batch([&] {
        const std::int64_t Size = Stream.Size() - Stream.Position();
        std::uint8_t Mark[2] = {};
        if (Size >= 2)
            Stream.ReadBuffer(Mark, 2);
        const bool Little = Size >= 2 && Mark[0] == 0xFF && Mark[1] == 0xFE;
        const bool Big = Size >= 2 && Mark[0] == 0xFE && Mark[1] == 0xFF;
        if (Little || Big) {
            FUnicode = true;
            // An odd last byte is not part of the text.
            const std::string Bytes = ReadStreamBytes(Stream, static_cast<std::size_t>(Size - 2));
            String Units(Bytes.size() / 2, L'\0');
            for (std::size_t I = 0; I < Units.size(); ++I) {
                const auto Lo = static_cast<std::uint8_t>(Bytes[2 * I + (Big ? 1 : 0)]);
                const auto Hi = static_cast<std::uint8_t>(Bytes[2 * I + (Big ? 0 : 1)]);
                Units[I] = static_cast<wchar_t>(Lo | (Hi << 8));
            }
            SetText(Units);
            return;
        }
        FUnicode = false;
        if (Size >= 2)
            Stream.Seek(-2, soCurrent);
        SetText(FromAnsi(
            ReadStreamBytes(Stream, static_cast<std::size_t>(std::max<std::int64_t>(Size, 0)))));
    });
}

void TCvWideStrings::SaveToStream(TStream& Stream) const {
    const String S = Text();
    if (FUnicode) {
        const std::uint8_t Mark[2] = {0xFF, 0xFE};
        Stream.WriteBuffer(Mark, 2);
        Stream.WriteBuffer(S.data(), static_cast<std::int64_t>(S.size() * sizeof(wchar_t)));
    } else {
        const std::string Narrow = ToAnsi(S);
        Stream.WriteBuffer(Narrow.data(), static_cast<std::int64_t>(Narrow.size()));
    }
}

void TCvWideStrings::LoadFromFile(const String& FileName) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(Stream);
}

void TCvWideStrings::SaveToFile(const String& FileName) const {
    TFileStream Stream(FileName, fmCreate);
    SaveToStream(Stream);
}

void TCvWideStrings::WriteStrings(TStream& Stream) const {
    Stream.WriteBuffer(&vaList, 1);
    for (int I = 0; I < Count(); ++I) {
        const String S = Strings(I);
        const auto Length = static_cast<std::int32_t>(S.size());
        Stream.WriteBuffer(&vaWString, 1);
        Stream.WriteBuffer(&Length, sizeof Length);
        Stream.WriteBuffer(S.data(), static_cast<std::int64_t>(S.size() * sizeof(wchar_t)));
    }
    Stream.WriteBuffer(&vaNull, 1);
}

void TCvWideStrings::ReadStrings(TStream& Stream) {
    Batch([&] {
        Clear();
        std::uint8_t Type = 0;
        Stream.ReadBuffer(&Type, 1);
        if ((Type & 0x7F) != vaList)
            StoredFormError();
        for (;;) {
            Stream.ReadBuffer(&Type, 1);
            Type &= 0x7F;
            if (Type == vaNull)
                return;
            if (Type == vaString) {
                std::uint8_t Length = 0;
                Stream.ReadBuffer(&Length, 1);
                Add(FromAnsi(ReadStreamBytes(Stream, Length)));
                continue;
            }
            if (Type != vaLString && Type != vaWString)
                StoredFormError();
            std::int32_t Length = 0;
            Stream.ReadBuffer(&Length, sizeof Length);
            if (Length < 0)
                StoredFormError();
            if (Type == vaLString) {
                Add(FromAnsi(ReadStreamBytes(Stream, static_cast<std::size_t>(Length))));
                continue;
            }
            const std::string Bytes =
                ReadStreamBytes(Stream, static_cast<std::size_t>(Length) * sizeof(wchar_t));
            String S(static_cast<std::size_t>(Length), L'\0');
            std::memcpy(S.data(), Bytes.data(), Bytes.size());
            Add(S);
        }
    });
}

void TCvWideStrings::Assign(const TPersistent& Source) {
    if (const auto* Wide = dynamic_cast<const TCvWideStrings*>(&Source)) {
        if (Wide == this)
            return; // clearing first would lose the strings
        Batch([&] {
            Clear();
            AddStrings(*Wide);
        });
        return;
    }
    if (const auto* Narrow = dynamic_cast<const TStrings*>(&Source)) {
        // String by string: a line break inside an entry must not split it.
        Batch([&] {
            Clear();
            for (int I = 0; I < Narrow->Count(); ++I)
                AddObject(Narrow->Strings(I), Narrow->Objects(I));
        });
        return;
    }
    TPersistent::Assign(Source);
}

void TCvWideStrings::AssignTo(TStrings& Dest) const {
    Dest.BatchUpdate([&] {
        Dest.Clear();
        for (int I = 0; I < Count(); ++I)
            Dest.AddObject(Strings(I), Objects(I));
    });
}

// ------------------------------------------------------- TCvWideStringList

TCvWideStringList::~TCvWideStringList() {
    // Destruction reports nothing.
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TCvWideStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        IndexError(Index);
}

void TCvWideStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TCvWideStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TCvWideStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

String TCvWideStringList::Strings(int Index) const {
    return StringRef(Index);
}

const String& TCvWideStringList::StringRef(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].S;
}

void TCvWideStringList::SetStrings(int Index, const String& S) {
    CheckIndex(Index);
    Changing();
    FItems[static_cast<std::size_t>(Index)].S = S;
    Changed();
}

TObject* TCvWideStringList::Objects(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].Obj;
}

void TCvWideStringList::SetObjects(int Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    FItems[static_cast<std::size_t>(Index)].Obj = AObject;
    Changed();
}

void TCvWideStringList::SetCapacity(int N) {
    // Fewer slots than strings would drop strings: the capacity never goes below Count.
    FCapacity = std::max(N, Count());
    FItems.reserve(static_cast<std::size_t>(FCapacity));
}

void TCvWideStringList::Grow() {
    SetCapacity(FCapacity + CvQuarterGrowthStep(FCapacity));
}

int TCvWideStringList::Add(const String& S) {
    const int Index = Count();
    InsertItem(Index, S);
    return Index;
}

void TCvWideStringList::Insert(int Index, const String& S) {
    if (Index < 0 || Index > Count())
        IndexError(Index);
    InsertItem(Index, S);
}

void TCvWideStringList::InsertItem(int Index, const String& S) {
    Changing();
    if (Count() == FCapacity)
        Grow();
    FItems.insert(FItems.begin() + Index, TItem{S, nullptr});
    Changed();
}

void TCvWideStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TCvWideStringList::Clear() {
    if (FItems.empty())
        return;
    Changing();
    FItems = {};
    FCapacity = 0;
    Changed();
}

void TCvWideStringList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
    Changed();
}

void TCvWideStringList::Sort() {
    CustomSort([](TCvWideStringList& List, int Index1, int Index2) {
        return WideCompareOrdinal(List.StringRef(Index1), List.StringRef(Index2));
    });
}

void TCvWideStringList::CustomSort(const TCvWideStringListSortCompare& Compare) {
    if (Count() <= 1)
        return;
    Changing();
    QuickSort(0, Count() - 1, Compare);
    Changed();
}

// Not stable: the order of equal strings is the one this partitioning leaves, as it always was.
void TCvWideStringList::QuickSort(int L, int R, const TCvWideStringListSortCompare& Compare) {
    int I;
    do {
        I = L;
        int J = R;
        int P = (L + R) >> 1;
        do {
            while (Compare(*this, I, P) < 0)
                ++I;
            while (Compare(*this, J, P) > 0)
                --J;
            if (I <= J) {
                std::swap(FItems[static_cast<std::size_t>(I)], FItems[static_cast<std::size_t>(J)]);
                if (P == I)
                    P = J;
                else if (P == J)
                    P = I;
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J)
            QuickSort(L, J, Compare);
        L = I;
    } while (I < R);
}
