// Object model (TObject, TPersistent, TComponent ownership), TList, string
// lists and streams.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include <cstdint>
#include <functional>
#include <vector>

// ---------------------------------------------------------------- sets

// A set of the values of a small enumeration (at most 32 values), as the library's flag
// properties use it: ControlStyle, ComponentState, the shift state.
template <class TEnum> class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<TEnum> Values) {
        for (const TEnum V : Values)
            FBits |= Bit(V);
    }
    constexpr bool Contains(TEnum Value) const { return (FBits & Bit(Value)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TEnumSet& Include(TEnum Value) {
        FBits |= Bit(Value);
        return *this;
    }
    constexpr TEnumSet& Exclude(TEnum Value) {
        FBits &= ~Bit(Value);
        return *this;
    }
    constexpr TEnumSet& Set(TEnum Value, bool On) { return On ? Include(Value) : Exclude(Value); }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr std::uint32_t Bit(TEnum V) { return 1u << static_cast<unsigned>(V); }
    std::uint32_t FBits = 0;
};

// ---------------------------------------------------------------- objects

class TObject {
public:
    virtual ~TObject() = default;
};

class TPersistent : public TObject {
public:
    // Copies Source's state; the default throws EConvertError ("Cannot assign").
    virtual void Assign(const TPersistent& Source);
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TOperation { opInsert, opRemove };

// csLoading: between BeginLoading and Loaded, while a layout is built; csDesigning: shown in a
// designer (set by tests to reach design-time behaviour); csDestroying: its destructor runs.
enum TComponentStateFlag { csLoading, csDesigning, csDestroying };
using TComponentState = TEnumSet<TComponentStateFlag>;

// A component created with an owner is owned by it: the owner deletes its
// components, last-to-first, when it is destroyed. A component deleted earlier
// leaves its owner's list. Components are not copyable.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const; // throws EListError on a bad index
    int ComponentIndex() const;              // position in the owner's list, -1 without owner
    // Moves AComponent into this component's list (taking it from its old owner).
    void InsertComponent(TComponent* AComponent);
    // Takes AComponent out of this component's list; it then has no owner.
    void RemoveComponent(TComponent* AComponent);
    // First owned component with this name (case-insensitive), or nullptr.
    TComponent* FindComponent(const String& AName) const;
    // Deletes the owned components now, last-to-first. Derived classes whose
    // components use the derived part call this from their own destructor.
    void DestroyComponents();
    // True from the start of the destructor on.
    bool Destroying() const { return FState.Contains(csDestroying); }

    TComponentState ComponentState() const { return FState; }
    void SetDesigning(bool Value);
    // Opens a load bracket on this component and those it owns: each stays csLoading until its
    // Loaded, so a layout built in code is applied once, at the end, not after every property.
    void BeginLoading();
    // Closes the bracket: Loaded runs for the owned components, then for this one.
    void EndLoading();

    // AComponent's Notification(this, opRemove) runs when this component is
    // destroyed, so it can drop a reference to it.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    String Name;
    std::intptr_t Tag = 0;

protected:
    // Called for components inserted into or removed from this one, and for
    // components this one asked FreeNotification of, when they go.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Points Reference at Value and moves this component's free notification with it, so that
    // Notification can clear Reference when its target goes.
    template <class T> void SetNotifiedReference(T*& Reference, T* Value) {
        if (Reference == Value)
            return;
        if (Reference)
            Reference->RemoveFreeNotification(this);
        Reference = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    // The load bracket closed: the component applies what it deferred. Derived classes call the
    // base first, which clears csLoading.
    virtual void Loaded();

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FState;
};

// Calls Line for each line of Text: a line ends at CR LF, LF or CR, and a last line without an
// end counts too, so an empty text has none.
void ForEachTextLine(const String& Text, const std::function<void(const String& Line)>& Line);

// ----------------------------------------------------------------- TList

using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

// A list of untyped pointers; it owns none of them.
class TList : public TObject {
public:
    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first occurrence; returns its former index or -1.
    int Remove(void* Item);
    int IndexOf(const void* Item) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    void* Items(int Index) const;
    void SetItems(int Index, void* Item);
    void* First() const;
    void* Last() const;
    void Clear() { FItems.clear(); }
    void Sort(const TListSortCompare& Compare); // stable
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);

private:
    void CheckIndex(int Index) const;
    std::vector<void*> FItems;
};

// ---------------------------------------------------------- string lists

class TStream;

// Abstract list of strings with attached objects. Indices are 0-based; a bad
// index throws EStringListError "List index out of bounds (%d)".
class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual String Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const String& S) = 0;
    virtual TObject* Objects(int Index) const;
    virtual void SetObjects(int Index, TObject* AObject);
    virtual void Insert(int Index, const String& S) = 0;
    virtual void InsertObject(int Index, const String& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* AObject);
    void AddStrings(const TStrings& Strings);
    void Assign(const TPersistent& Source) override;
    virtual int IndexOf(const String& S) const;
    int IndexOfObject(const TObject* AObject) const;
    // Name=Value lines; the name ends at the first '='.
    int IndexOfName(const String& Name) const;
    String Names(int Index) const;
    String ValueFromIndex(int Index) const;
    String Values(const String& Name) const;
    // An empty Value deletes the Name line.
    void SetValue(const String& Name, const String& Value);
    // Lines each ended by CRLF.
    String Text() const;
    // Splits at CRLF, LF or CR.
    void SetText(const String& Value);
    // Reads UTF-16 (LE/BE, with BOM) and UTF-8 with BOM; text without BOM is
    // UTF-8 when it is valid UTF-8, else ANSI. Throws EFOpenError/EReadError.
    void LoadFromFile(const String& FileName);
    void LoadFromStream(TStream& Stream);
    // Writes UTF-8 without BOM, CRLF after every line. Throws EFCreateError/EWriteError.
    void SaveToFile(const String& FileName) const;
    void SaveToStream(TStream& Stream) const;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    void BeginUpdate();
    void EndUpdate();
    // Runs Change between BeginUpdate and EndUpdate, so listeners hear of it
    // once. When Change throws, its exception is the one that leaves, even if
    // a listener woken by the closing EndUpdate throws as well.
    template <typename Fn> void BatchUpdate(Fn&& Change) {
        BeginUpdate();
        try {
            Change();
        } catch (...) {
            try {
                EndUpdate();
            } catch (...) {
            }
            throw;
        }
        EndUpdate();
    }

protected:
    // Comparison for IndexOf and IndexOfName; case-insensitive by default.
    virtual int CompareStrings(const String& S1, const String& S2) const;
    // Called when the update count goes from 0 to 1 (true) and back (false).
    virtual void SetUpdateState(bool Updating);
    int UpdateCount() const { return FUpdateCount; }
    [[noreturn]] void Error(int Index) const;

private:
    int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = std::function<int(TStringList& List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    // With OwnsObjects the list deletes the objects of lines it deletes or clears.
    explicit TStringList(bool OwnsObjects = false) : FOwnsObjects(OwnsObjects) {}
    ~TStringList() override;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;

    int Count() const override { return static_cast<int>(FItems.size()); }
    String Strings(int Index) const override;
    // Reference to the stored line, for loops that must not copy.
    const String& StringRef(int Index) const;
    void SetStrings(int Index, const String& S) override; // throws on a sorted list
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    void Insert(int Index, const String& S) override; // throws on a sorted list
    void InsertObject(int Index, const String& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    // On a sorted list inserts at the sorted place, honouring Duplicates; a
    // dupIgnore'd duplicate returns the index of the line already there (and
    // the list does not take AObject).
    int Add(const String& S) override;
    int AddObject(const String& S, TObject* AObject) override;
    int IndexOf(const String& S) const override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;

    // Binary search on a sorted list (linear otherwise). Index receives the
    // match or, on a sorted list, the place where S would go.
    bool Find(const String& S, int& Index) const;
    // Sorting compares with AnsiCompareText unless CaseSensitive (then AnsiCompareStr).
    void Sort();
    void CustomSort(const TStringListSortCompare& Compare);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    bool OwnsObjects() const { return FOwnsObjects; }

    TDuplicates Duplicates = dupIgnore;
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    int CompareStrings(const String& S1, const String& S2) const override;
    void SetUpdateState(bool Updating) override;

private:
    struct TItem {
        String S;
        TObject* Obj = nullptr;
    };
    void CheckIndex(int Index) const;
    void Changing();
    void Changed();
    void InsertItem(int Index, const String& S, TObject* AObject);
    void FreeObject(TObject* AObject);

    std::vector<TItem> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};

// -------------------------------------------------------------- streams

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
public:
    // Return the number of bytes transferred (less than Count at the end or on error).
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Pos) { Seek(Pos, soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t NewSize) = 0;

    // Throw EReadError / EWriteError when fewer than Count bytes move.
    void ReadBuffer(void* Buffer, std::int64_t Count);
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    // Copies Count bytes from Source's position; Count 0 copies all of Source from
    // its start. Returns the bytes copied.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

// Stream over a handle it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(HANDLE AHandle) : FHandle(AHandle) {}
    HANDLE Handle() const { return FHandle; }
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override; // throws EWriteError on failure

protected:
    HANDLE FHandle;
};

constexpr unsigned fmCreate = 0xFF00;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
// Without a share flag others may read the file but not write it.
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

// A file opened (or created with fmCreate, emptied if present) for the life of
// the object. Throws EFCreateError / EFOpenError with the file name and reason.
class TFileStream : public THandleStream {
public:
    TFileStream(const String& FileName, unsigned Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    const String& FileName() const { return FFileName; }

private:
    String FFileName;
};

class TMemoryStream : public TStream {
public:
    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    void SetSize(std::int64_t NewSize) override;
    void Clear();
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName) const;

private:
    std::vector<unsigned char> FData;
    std::int64_t FPosition = 0;
};
