// Lists of UTF-16 strings, each paired with an object reference: the column texts of every
// tree-list row. Comparisons are ordinal and case-sensitive; files keep their byte-order mark.
#pragma once

#include "classlib/rtl/Classes.h"

#include <functional>
#include <memory>
#include <vector>

// The strings are owned; the objects paired with them never are.
class TCvWideStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual String Strings(int Index) const = 0;
    // Keeps the object: deletes the entry and inserts the new string with it.
    virtual void SetStrings(int Index, const String& S);
    virtual TObject* Objects(int Index) const;
    virtual void SetObjects(int Index, TObject* AObject);
    virtual int Capacity() const { return Count(); }
    virtual void SetCapacity(int) {}

    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* AObject);
    virtual void AddStrings(const TCvWideStrings& Strings);
    virtual void Insert(int Index, const String& S) = 0;
    void InsertObject(int Index, const String& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);

    // First ordinally equal string, -1 when none.
    virtual int IndexOf(const String& S) const;
    // First "Name=..." entry, the name compared ordinally; -1 when none.
    int IndexOfName(const String& Name) const;
    // What follows "Name=" in that entry; empty when none.
    String Values(const String& Name) const;
    bool Equals(const TCvWideStrings& Other) const;

    // Every string followed by CR LF.
    virtual String Text() const;
    // Splits at CR, LF or CR LF and stops at a zero unit; a final line break adds no line.
    virtual void SetText(const String& Value);
    // Text() with a terminating zero, for callers that want a buffer of their own.
    std::unique_ptr<wchar_t[]> TextBuffer() const;
    void SetText(const wchar_t* Value);

    // UTF-16 with FF FE or FE FF, otherwise ANSI text; Unicode() tells which was read and
    // decides what is written.
    virtual void LoadFromStream(TStream& Stream);
    virtual void SaveToStream(TStream& Stream) const;
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName) const;
    bool Unicode() const { return FUnicode; }
    void SetUnicode(bool Value) { FUnicode = Value; }

    // The stored form of the list: list begin (1), per string the value type 18, a 32-bit count
    // of UTF-16 units and the units, then list end (0). Reading also takes long (12) and short
    // (6) ANSI strings, clears the list first and throws EReadError on any other value type,
    // keeping the strings read so far.
    void WriteStrings(TStream& Stream) const;
    void ReadStrings(TStream& Stream);

    // From another wide list or from the class library's string list; anything else throws.
    void Assign(const TPersistent& Source) override;
    void AssignTo(TStrings& Dest) const;

    void BeginUpdate();
    void EndUpdate();

protected:
    virtual void SetUpdateState(bool) {}
    int UpdateCount() const { return FUpdateCount; }
    // Runs Change inside an update bracket that is closed however Change ends.
    template <typename Fn> void Batch(Fn&& Change);

private:
    int FUpdateCount = 0;
    bool FUnicode = false;
};

class TCvWideStringList;
using TCvWideStringListSortCompare =
    std::function<int(TCvWideStringList& List, int Index1, int Index2)>;

// Index errors throw EStringListError "List index out of bounds (%d)" and change nothing.
class TCvWideStringList : public TCvWideStrings {
public:
    TCvWideStringList() = default;
    ~TCvWideStringList() override;
    TCvWideStringList(const TCvWideStringList&) = delete;
    TCvWideStringList& operator=(const TCvWideStringList&) = delete;

    int Count() const override { return static_cast<int>(FItems.size()); }
    String Strings(int Index) const override;
    const String& StringRef(int Index) const;
    void SetStrings(int Index, const String& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    int Capacity() const override { return FCapacity; }
    void SetCapacity(int N) override;

    int Add(const String& S) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;

    void Sort();
    // Compare answers negative, zero or positive for the strings at two indexes.
    virtual void CustomSort(const TCvWideStringListSortCompare& Compare);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    virtual void Changed();
    virtual void Changing();

private:
    struct TItem {
        String S;
        TObject* Obj = nullptr;
    };
    void CheckIndex(int Index) const;
    void InsertItem(int Index, const String& S);
    void Grow();
    void QuickSort(int L, int R, const TCvWideStringListSortCompare& Compare);

    std::vector<TItem> FItems;
    int FCapacity = 0;
};
