#include "treelist/CvArray.h"
#include "treelist/CvList.h"
#include "treelist/CvStack.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Elements A, B, C ... stand for pointers: the address of a letter in this string.
const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
void* P(char Letter) {
    return const_cast<char*>(&Letters[Letter - 'A']);
}

void Fill(TCvList& List, const std::string& Text) {
    for (const char C : Text)
        List.Add(P(C));
}

std::string Text(const TCvList& List) {
    std::string S;
    for (int I = 0; I < List.Count(); ++I)
        S += List.GetFast(I) == nullptr ? '.' : *static_cast<const char*>(List.GetFast(I));
    return S;
}

std::string Text(const TCvArray& Array) {
    std::string S;
    for (int I = 0; I < Array.Count(); ++I)
        S += Array.Get(I) == nullptr ? '.' : *static_cast<const char*>(Array.Get(I));
    return S;
}

// Records the elements a container tells of, and how objects of this kind die.
struct TRemovals {
    std::string Told;
    TCvRemoveItemEvent Event() {
        return [this](TObject*, void* Item) {
            Told += Item == nullptr ? '.' : *static_cast<const char*>(Item);
        };
    }
};

class TCounted : public TObject {
public:
    explicit TCounted(int& Alive) : FAlive(Alive) { ++FAlive; }
    ~TCounted() override { --FAlive; }

private:
    int& FAlive;
};

template <typename E> std::string MessageOf(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const E& Error) {
        return ToUtf8(Error.Message());
    }
    return "no error";
}

} // namespace

TEST(CvList, CapacityFollowsTheGrowthSteps) {
    TCvList List;
    std::vector<int> Seen;
    for (int I = 0; I < 4000; ++I) {
        List.Add(nullptr);
        if (Seen.empty() || Seen.back() != List.Capacity())
            Seen.push_back(List.Capacity());
    }
    const std::vector<int> Expected = {1, 4, 13, 40, 121, 364, 1093, 2373, 3653, 4933};
    EXPECT_EQ(Seen, Expected);
}

TEST(CvList, CapacityHalvesOncePerRemoval) {
    TCvList List;
    Fill(List, "ABCDEFGHIJKLMN");
    EXPECT_EQ(List.Capacity(), 40);
    List.Delete(0);
    EXPECT_EQ(List.Capacity(), 20);
    for (const char C : std::string("BCD"))
        List.Remove(P(C));
    EXPECT_EQ(List.Count(), 10);
    EXPECT_EQ(List.Capacity(), 20);
    List.Delete(0);
    EXPECT_EQ(List.Count(), 9);
    EXPECT_EQ(List.Capacity(), 10);

    // Removing most of a big list in one call halves only once.
    TCvList Big;
    for (int I = 0; I < 121; ++I)
        Big.Add(nullptr);
    Big.DeleteRange(0, 119);
    EXPECT_EQ(Big.Count(), 1);
    EXPECT_EQ(Big.Capacity(), 60);
}

TEST(CvList, ReportsLinearStepsAtAMillionRows) {
    TCvList List;
    for (int I = 0; I < 1000000; ++I)
        List.Add(P('A'));
    EXPECT_EQ(List.Count(), 1000000);
    EXPECT_EQ(List.Capacity(), 3653 + 779 * 1280);
    EXPECT_EQ(List.Last(), P('A'));
}

TEST(CvList, InsertsAndReadsWithChecks) {
    TCvList List;
    Fill(List, "AC");
    List.Insert(1, P('B'));
    List.Insert(3, P('D')); // at Count: appends
    List.Insert(0, nullptr);
    EXPECT_EQ(Text(List), ".ABCD");
    EXPECT_EQ(List.Last(), P('D'));
    EXPECT_EQ(List.FirstUnchecked(), nullptr);
    EXPECT_EQ(List.IndexOf(P('C')), 3);
    EXPECT_EQ(List.IndexOf(P('Z')), -1);

    TCvList Empty;
    EXPECT_EQ(Empty.Last(), nullptr);
    EXPECT_EQ(Empty.IndexOf(nullptr), -1);
}

TEST(CvList, SearchesFromAStart) {
    TCvList List;
    Fill(List, "ABAB");
    EXPECT_EQ(List.IndexOfFrom(1, P('A')), 2);
    EXPECT_EQ(List.IndexOfFrom(3, P('A')), -1);
    EXPECT_EQ(List.IndexOfBackFrom(1, P('B')), 1);
    EXPECT_EQ(List.IndexOfBackFrom(3, P('A')), 2);
    EXPECT_EQ(List.IndexOfBackFrom(0, P('B')), -1);
}

TEST(CvList, MisuseRaisesWithTheValueAndChangesNothing) {
    struct TCase {
        const char* Name;
        std::function<void(TCvList&)> Call;
        int Value;
    };
    const TCase Cases[] = {
        {"Insert past Count", [](TCvList& L) { L.Insert(6, nullptr); }, 6},
        {"Insert negative", [](TCvList& L) { L.Insert(-1, nullptr); }, -1},
        {"Get at Count", [](TCvList& L) { L.Get(5); }, 5},
        {"Put negative", [](TCvList& L) { L.Put(-2, nullptr); }, -2},
        {"IndexOfFrom", [](TCvList& L) { L.IndexOfFrom(5, nullptr); }, 5},
        {"IndexOfBackFrom", [](TCvList& L) { L.IndexOfBackFrom(-1, nullptr); }, -1},
        {"Delete", [](TCvList& L) { L.Delete(7); }, 7},
        {"DeleteQuiet", [](TCvList& L) { L.DeleteQuiet(5); }, 5},
        {"DeleteRange first", [](TCvList& L) { L.DeleteRange(9, 10); }, 9},
        {"DeleteRange last before first", [](TCvList& L) { L.DeleteRange(3, 1); }, 1},
        {"DeleteRange last past end", [](TCvList& L) { L.DeleteRange(1, 5); }, 5},
        {"Move to a bad place", [](TCvList& L) { L.Move(0, 5); }, 5},
        {"Move from a bad place", [](TCvList& L) { L.Move(8, 1); }, 8},
        {"MoveRange into itself", [](TCvList& L) { L.MoveRange(1, 3, 2); }, 2},
        {"MoveRange past end", [](TCvList& L) { L.MoveRange(1, 2, 5); }, 5},
        {"MoveRange bad first", [](TCvList& L) { L.MoveRange(-3, 1, 4); }, -3},
        {"MoveRange bad last", [](TCvList& L) { L.MoveRange(1, 6, 0); }, 6},
        {"SetCapacity below Count", [](TCvList& L) { L.SetCapacity(4); }, 4},
        {"SetCapacity over limit", [](TCvList& L) { L.SetCapacity(134217728); }, 134217728},
        {"SetCount negative", [](TCvList& L) { L.SetCount(-1); }, -1},
        {"SetCount over limit", [](TCvList& L) { L.SetCount(134217728); }, 134217728},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TCvList List;
        TRemovals Removals;
        List.OnRemoveItem = Removals.Event();
        Fill(List, "ABCDE");
        const int Capacity = List.Capacity();
        EXPECT_EQ(MessageOf<ECvListError>([&] { Case.Call(List); }),
                  "List index [" + std::to_string(Case.Value) + "] out of bounds...");
        EXPECT_EQ(Text(List), "ABCDE");
        EXPECT_EQ(List.Capacity(), Capacity);
        EXPECT_EQ(Removals.Told, "");
    }
}

TEST(CvList, RemovalEventsAndFreeing) {
    int Alive = 0;
    TCvList List;
    TRemovals Removals;
    List.OnRemoveItem = Removals.Event();
    List.AutoFreeItems = true;
    for (int I = 0; I < 6; ++I)
        List.Add(static_cast<TObject*>(new TCounted(Alive)));
    void* Kept0 = List.Get(0);
    void* Kept1 = List.Get(1);

    // DeleteRange tells of each element but never frees, even with AutoFreeItems.
    List.OnRemoveItem = [&](TObject* Sender, void*) {
        EXPECT_EQ(Sender, &List);
        Removals.Told += 'x';
    };
    List.DeleteRange(0, 1);
    EXPECT_EQ(Removals.Told, "xx");
    EXPECT_EQ(Alive, 6);
    delete static_cast<TObject*>(Kept0);
    delete static_cast<TObject*>(Kept1);

    // Delete tells and frees; Remove tells and never frees.
    List.Delete(0);
    EXPECT_EQ(Removals.Told, "xxx");
    EXPECT_EQ(Alive, 3);
    void* Removed = List.Get(0);
    EXPECT_EQ(List.Remove(Removed), 0);
    EXPECT_EQ(List.Remove(Removed), -1); // absent: no event
    EXPECT_EQ(Removals.Told, "xxxx");
    EXPECT_EQ(Alive, 3);
    delete static_cast<TObject*>(Removed);

    // DeleteQuiet and Move tell of nothing.
    List.Add(nullptr);
    List.Move(0, 2);
    ASSERT_EQ(List.Get(1), nullptr);
    List.DeleteQuiet(1);
    EXPECT_EQ(Removals.Told, "xxxx");

    // Clear tells of every element, nil too, and frees the objects.
    List.Clear();
    EXPECT_EQ(Removals.Told, "xxxxxx");
    EXPECT_EQ(Alive, 0);
    EXPECT_EQ(List.Capacity(), 0);
}

TEST(CvList, PutTellsOnlyOfAReplacedElement) {
    TCvList List;
    TRemovals Removals;
    List.OnRemoveItem = Removals.Event();
    List.SetCount(2);
    List.Put(0, P('A')); // the old element is nil: no event
    List.Put(0, P('B'));
    List.Put(1, P('C'));
    EXPECT_EQ(Removals.Told, "A");
    EXPECT_EQ(Text(List), "BC");
}

TEST(CvList, SetCountFillsWithNilAndCutsQuietly) {
    TCvList List;
    TRemovals Removals;
    List.OnRemoveItem = Removals.Event();
    Fill(List, "AB");
    List.SetCount(5);
    EXPECT_EQ(Text(List), "AB...");
    EXPECT_EQ(List.Capacity(), 5);
    List.SetCount(1);
    EXPECT_EQ(Text(List), "A");
    EXPECT_EQ(List.Capacity(), 5);
    List.SetCount(3); // the cut slots come back nil
    EXPECT_EQ(Text(List), "A..");
    EXPECT_EQ(Removals.Told, "");
}

TEST(CvList, MovesElementsAndBlocks) {
    struct TCase {
        int First, Last, NewIndex;
        const char* Result;
    };
    const TCase Cases[] = {
        {0, 1, 3, "CABDE"}, {3, 4, 1, "ADEBC"}, {0, 0, 4, "BCDAE"},
        {4, 4, 0, "EABCD"}, {2, 2, 2, "ABCDE"}, {1, 3, 0, "BCDAE"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Result);
        TCvList List;
        Fill(List, "ABCDE");
        List.MoveRange(Case.First, Case.Last, Case.NewIndex);
        EXPECT_EQ(Text(List), Case.Result);
    }

    TCvList List;
    Fill(List, "ABCDE");
    List.Move(0, 4);
    EXPECT_EQ(Text(List), "BCDEA");
    List.Move(3, 0);
    EXPECT_EQ(Text(List), "EBCDA");
}

TEST(CvList, AssignSharesTheElements) {
    TCvList Source;
    Fill(Source, "ABCD");
    Source.SetCapacity(9);
    TCvList Target;
    TRemovals Removals;
    Target.OnRemoveItem = Removals.Event();
    Fill(Target, "XY");
    Target.Assign(Source);
    EXPECT_EQ(Text(Target), "ABCD");
    EXPECT_EQ(Target.Capacity(), 9);
    EXPECT_EQ(Removals.Told, "XY");
    EXPECT_FALSE(Target.AutoFreeItems);

    // A list assigned to itself keeps its elements.
    Target.Assign(Target);
    EXPECT_EQ(Text(Target), "ABCD");
    EXPECT_THROW(Target.Assign(TPersistent()), EConvertError);
}

TEST(CvStack, PushPopAndShrink) {
    TCvStack Stack;
    EXPECT_EQ(MessageOf<ECvStackError>([&] { Stack.Pop(); }), "CvStack is empty.");
    std::vector<int> Capacities;
    for (int I = 0; I < 30; ++I) {
        Stack.Push(P(static_cast<char>('A' + I % 26)));
        if (Capacities.empty() || Capacities.back() != Stack.Capacity())
            Capacities.push_back(Stack.Capacity());
    }
    EXPECT_EQ(Capacities, (std::vector<int>{4, 8, 12, 28, 44}));
    EXPECT_EQ(Stack.ItemAt(0), P('A'));
    EXPECT_EQ(Stack.Pop(), P('D'));
    EXPECT_EQ(Stack.Count(), 29);

    TCvStack Twenty;
    Twenty.SetCapacity(20);
    for (int I = 0; I < 20; ++I)
        Twenty.Push(P('A'));
    for (int I = 0; I < 10; ++I)
        Twenty.Pop();
    EXPECT_EQ(Twenty.Capacity(), 20);
    Twenty.Pop();
    EXPECT_EQ(Twenty.Capacity(), 10);

    EXPECT_EQ(MessageOf<ECvStackError>([&] { Twenty.SetCapacity(8); }),
              "Invalid CvStack capacity.");
    EXPECT_EQ(MessageOf<ECvStackError>([&] { Twenty.SetCapacity(134217728); }),
              "Invalid CvStack capacity.");
    EXPECT_EQ(Twenty.Count(), 9);
    EXPECT_EQ(Twenty.Capacity(), 10);
}

TEST(CvArray, ReadsPastTheEndAndWritesToExtend) {
    TCvArray Array;
    TRemovals Removals;
    Array.OnRemoveItem = Removals.Event();
    EXPECT_EQ(Array.Get(1000), nullptr);
    Array.Put(5, P('F'));
    EXPECT_EQ(Array.Count(), 6);
    EXPECT_EQ(Array.Capacity(), 6);
    EXPECT_EQ(Text(Array), ".....F");
    EXPECT_EQ(Removals.Told, "."); // told of the nil it replaced

    Array.Put(2, P('C'));
    Array.Put(2, P('C')); // the same pointer again: nothing at all
    Array.Put(2, P('X'));
    EXPECT_EQ(Removals.Told, "..C");
    Array.Put(2, P('C'));
    Removals.Told.clear();

    Array.Delete(0);
    EXPECT_EQ(Text(Array), ".C..F");
    EXPECT_EQ(Removals.Told, ".");
    Array.Delete(0);
    Array.Delete(0);
    EXPECT_EQ(Text(Array), "..F");
    EXPECT_EQ(Array.Capacity(), 6);
    Array.Delete(0);
    EXPECT_EQ(Array.Capacity(), 3);

    // Clear tells only of the elements that are there.
    Removals.Told.clear();
    Array.Clear();
    EXPECT_EQ(Removals.Told, "F");
    EXPECT_EQ(Array.Count(), 0);
    EXPECT_EQ(Array.Capacity(), 0);
}

TEST(CvArray, FreesWhatItReplacesAndClears) {
    int Alive = 0;
    {
        TCvArray Array;
        Array.AutoFreeItems = true;
        Array.Put(0, static_cast<TObject*>(new TCounted(Alive)));
        Array.Put(0, static_cast<TObject*>(new TCounted(Alive)));
        EXPECT_EQ(Alive, 1);
        Array.Put(3, static_cast<TObject*>(new TCounted(Alive)));
        Array.Put(4, static_cast<TObject*>(new TCounted(Alive)));
        Array.Delete(4);
        EXPECT_EQ(Alive, 2);
    }
    EXPECT_EQ(Alive, 0); // the destructor cleared
}

TEST(CvArray, MisuseRaisesWithTheValueAndChangesNothing) {
    struct TCase {
        const char* Name;
        std::function<void(TCvArray&)> Call;
        int Value;
    };
    const TCase Cases[] = {
        {"Get negative", [](TCvArray& A) { A.Get(-1); }, -1},
        {"Put negative", [](TCvArray& A) { A.Put(-4, nullptr); }, -4},
        {"Delete at Count", [](TCvArray& A) { A.Delete(3); }, 3},
        {"SetCapacity below Count", [](TCvArray& A) { A.SetCapacity(2); }, 2},
        {"SetCount negative", [](TCvArray& A) { A.SetCount(-1); }, -1},
        {"SetCount over limit", [](TCvArray& A) { A.SetCount(134217728); }, 134217728},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TCvArray Array;
        Array.Put(2, P('C'));
        EXPECT_EQ(MessageOf<ECvArrayError>([&] { Case.Call(Array); }),
                  "List index [" + std::to_string(Case.Value) + "] out of bounds...");
        EXPECT_EQ(Text(Array), "..C");
        EXPECT_EQ(Array.Capacity(), 3);
    }
}
