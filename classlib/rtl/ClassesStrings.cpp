// TStrings and TStringList.
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/MergeSort.h"
#include "classlib/rtl/TextEncoding.h"

#include <algorithm>
#include <numeric>

// --------------------------------------------------------------- TStrings

void TStrings::Error(int Index) const {
    throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
}

TObject* TStrings::Objects(int Index) const {
    if (Index < 0 || Index >= Count())
        Error(Index);
    return nullptr;
}

void TStrings::SetObjects(int Index, TObject* /*AObject*/) {
    if (Index < 0 || Index >= Count())
        Error(Index);
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
    Insert(Index, S);
    SetObjects(Index, AObject);
}

int TStrings::Add(const String& S) {
    const int Index = Count();
    Insert(Index, S);
    return Index;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
    const int Index = Add(S);
    SetObjects(Index, AObject);
    return Index;
}

void TStrings::AddStrings(const TStrings& Strings) {
    const int N = Strings.Count();
    BatchUpdate([&] {
        for (int I = 0; I < N; ++I)
            AddObject(Strings.Strings(I), Strings.Objects(I));
    });
}

void TStrings::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TStrings*>(&Source);
    if (Other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this)
        return;
    BatchUpdate([&] {
        Clear();
        AddStrings(*Other);
    });
}

int TStrings::CompareStrings(const String& S1, const String& S2) const {
    return AnsiCompareText(S1, S2);
}

int TStrings::IndexOf(const String& S) const {
    const int N = Count();
    for (int I = 0; I < N; ++I)
        if (CompareStrings(Strings(I), S) == 0)
            return I;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
    const int N = Count();
    for (int I = 0; I < N; ++I)
        if (Objects(I) == AObject)
            return I;
    return -1;
}

int TStrings::IndexOfName(const String& Name) const {
    const int N = Count();
    for (int I = 0; I < N; ++I) {
        const String Line = Strings(I);
        const std::size_t Eq = Line.find(L'=');
        if (Eq != String::npos && CompareStrings(Line.substr(0, Eq), Name) == 0)
            return I;
    }
    return -1;
}

String TStrings::Names(int Index) const {
    const String Line = Strings(Index);
    const std::size_t Eq = Line.find(L'=');
    return Eq == String::npos ? String() : Line.substr(0, Eq);
}

String TStrings::ValueFromIndex(int Index) const {
    const String Line = Strings(Index);
    const std::size_t Eq = Line.find(L'=');
    return Eq == String::npos ? String() : Line.substr(Eq + 1);
}

String TStrings::Values(const String& Name) const {
    const int I = IndexOfName(Name);
    return I < 0 ? String() : ValueFromIndex(I);
}

void TStrings::SetValue(const String& Name, const String& Value) {
    const int I = IndexOfName(Name);
    if (Value.empty()) {
        if (I >= 0)
            Delete(I);
    } else if (I < 0) {
        Add(Name + L"=" + Value);
    } else {
        SetStrings(I, Name + L"=" + Value);
    }
}

String TStrings::Text() const {
    String R;
    const int N = Count();
    for (int I = 0; I < N; ++I) {
        R += Strings(I);
        R += L"\r\n";
    }
    return R;
}

void ForEachTextLine(const String& Text, const std::function<void(const String& Line)>& Line) {
    std::size_t I = 0;
    while (I < Text.size()) {
        const std::size_t End = Text.find_first_of(L"\r\n", I);
        if (End == String::npos) {
            Line(Text.substr(I));
            return;
        }
        Line(Text.substr(I, End - I));
        I = End + 1;
        if (Text[End] == L'\r' && I < Text.size() && Text[I] == L'\n')
            ++I;
    }
}

void TStrings::SetText(const String& Value) {
    BatchUpdate([&] {
        Clear();
        ForEachTextLine(Value, [this](const String& Line) { Add(Line); });
    });
}

void TStrings::LoadFromFile(const String& FileName) {
    TTextEncoding Encoding;
    SetText(DecodeText(ReadFileBytes(FileName), Encoding));
}

void TStrings::LoadFromStream(TStream& Stream) {
    const std::int64_t Size = Stream.Size() - Stream.Position();
    std::string Bytes(static_cast<std::size_t>(Size > 0 ? Size : 0), '\0');
    Stream.ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    TTextEncoding Encoding;
    SetText(DecodeText(Bytes, Encoding));
}

void TStrings::SaveToFile(const String& FileName) const {
    WriteFileBytes(FileName, ToUtf8(Text()));
}

void TStrings::SaveToStream(TStream& Stream) const {
    const std::string Bytes = ToUtf8(Text());
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
}

void TStrings::Exchange(int Index1, int Index2) {
    const String S1 = Strings(Index1);
    TObject* const O1 = Objects(Index1);
    SetStrings(Index1, Strings(Index2));
    SetObjects(Index1, Objects(Index2));
    SetStrings(Index2, S1);
    SetObjects(Index2, O1);
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    const String S = Strings(CurIndex);
    TObject* const O = Objects(CurIndex);
    if (NewIndex < 0 || NewIndex >= Count())
        Error(NewIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, S, O);
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool /*Updating*/) {}

// ----------------------------------------------------------- TStringList

namespace {

[[noreturn]] void SortedListError() {
    throw EStringListError(L"Operation not allowed on sorted list");
}

} // namespace

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (TItem& Item : FItems)
            delete Item.Obj;
}

void TStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        Error(Index);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::FreeObject(TObject* AObject) {
    if (FOwnsObjects)
        delete AObject;
}

String TStringList::Strings(int Index) const {
    return StringRef(Index);
}

const String& TStringList::StringRef(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].S;
}

void TStringList::SetStrings(int Index, const String& S) {
    if (FSorted)
        SortedListError();
    CheckIndex(Index);
    Changing();
    FItems[static_cast<std::size_t>(Index)].S = S;
    Changed();
}

TObject* TStringList::Objects(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].Obj;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
    CheckIndex(Index);
    TObject*& Slot = FItems[static_cast<std::size_t>(Index)].Obj;
    if (Slot == AObject)
        return;
    Changing();
    TObject* const Old = Slot;
    Slot = AObject;
    Changed();
    FreeObject(Old);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
    Changing();
    FItems.insert(FItems.begin() + Index, TItem{S, AObject});
    Changed();
}

void TStringList::Insert(int Index, const String& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
    if (FSorted)
        SortedListError();
    if (Index < 0 || Index > Count())
        Error(Index);
    InsertItem(Index, S, AObject);
}

int TStringList::Add(const String& S) {
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const String& S, TObject* AObject) {
    int Index = Count();
    if (FSorted && Find(S, Index)) {
        switch (Duplicates) {
        case dupIgnore:
            return Index;
        case dupError:
            throw EStringListError(L"String list does not allow duplicates");
        case dupAccept:
            break;
        }
    }
    InsertItem(Index, S, AObject);
    return Index;
}

void TStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    TObject* const Obj = FItems[static_cast<std::size_t>(Index)].Obj;
    FItems.erase(FItems.begin() + Index);
    Changed();
    FreeObject(Obj);
}

void TStringList::Clear() {
    if (FItems.empty())
        return;
    Changing();
    std::vector<TItem> Old;
    Old.swap(FItems);
    Changed();
    for (TItem& Item : Old)
        FreeObject(Item.Obj);
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

bool TStringList::Find(const String& S, int& Index) const {
    if (!FSorted) {
        Index = TStrings::IndexOf(S);
        return Index >= 0;
    }
    // Lower bound: the first line not less than S.
    int Lo = 0;
    int Hi = Count();
    while (Lo < Hi) {
        const int Mid = Lo + (Hi - Lo) / 2;
        if (CompareStrings(FItems[static_cast<std::size_t>(Mid)].S, S) < 0)
            Lo = Mid + 1;
        else
            Hi = Mid;
    }
    Index = Lo;
    return Lo < Count() && CompareStrings(FItems[static_cast<std::size_t>(Lo)].S, S) == 0;
}

int TStringList::IndexOf(const String& S) const {
    if (!FSorted)
        return TStrings::IndexOf(S);
    int Index;
    return Find(S, Index) ? Index : -1;
}

void TStringList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
    if (FSorted)
        SortedListError();
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex)
        return;
    Changing();
    TItem Item = std::move(FItems[static_cast<std::size_t>(CurIndex)]);
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, std::move(Item));
    Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (Count() < 2)
        return;
    // Sort positions, so the comparison always sees the list unchanged.
    std::vector<int> Order(FItems.size());
    std::iota(Order.begin(), Order.end(), 0);
    MergeSort(Order, [this, &Compare](int A, int B) { return Compare(*this, A, B) < 0; });
    std::vector<TItem> Sorted;
    Sorted.reserve(FItems.size());
    Changing();
    for (const int I : Order)
        Sorted.push_back(std::move(FItems[static_cast<std::size_t>(I)]));
    FItems.swap(Sorted);
    Changed();
}

void TStringList::Sort() {
    CustomSort([](TStringList& List, int A, int B) {
        return List.CompareStrings(List.StringRef(A), List.StringRef(B));
    });
}

void TStringList::SetSorted(bool Value) {
    if (Value && !FSorted)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive)
        return;
    FCaseSensitive = Value;
    if (FSorted)
        Sort();
}
