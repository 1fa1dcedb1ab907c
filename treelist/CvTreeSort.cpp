// Sorting: every child list on its own, by typed keys built once per sort, with a comparison
// that never calls two different items equal; the flat list is rewritten once per sort.
#include "treelist/CvTreeCore.h"

#include "treelist/CvList.h"
#include "treelist/CvStrUtils.h"

#include <cmath>
#include <string_view>

namespace {

int Sign(std::int64_t V) {
    return V < 0 ? -1 : (V > 0 ? 1 : 0);
}

template <class T> int Order(T A, T B) {
    return A < B ? -1 : (B < A ? 1 : 0);
}

int CompareTexts(std::wstring_view A, std::wstring_view B) {
    return Sign(A.compare(B));
}

} // namespace

struct TCvSortKey {
    TCvTreeItem* Item;
    std::uint64_t Seq = 0; // the item's identity order, kept here so ties touch no item
    std::wstring_view Text;
    std::int64_t Int = 0;
    double Real = 0;
    TCvSortKeyKind Kind = skNone;
};

class TCvTreeSorter {
public:
    TCvTreeSorter(TCvTreeCore& Tree, int Section, TSortTypes SortType, TCvSortMark Mark)
        : T(Tree), FSection(Section), FType(SortType),
          FNegate(Mark == hsmDescend || (Mark == hsmNone && Tree.SortDir == sdDescend)) {}

    // Builds the key of one item; texts that need storage go to FStore (kept for the sort).
    TCvSortKey MakeKey(TCvTreeItem* Item) {
        TCvSortKey K{Item, Item->Sequence(), {}};
        if (FType == stCustom) {
            K.Kind = skString;
            return K;
        }
        if (T.IsVirtual() && FType != stText)
            return VirtualKey(Item);
        const TCvString* Text = nullptr;
        if (!T.IsVirtual() && (FSection == -1 || FSection == T.MainTreeColumn())) {
            Text = &Item->Text();
        } else if (!T.IsVirtual()) {
            const int I = FSection > T.MainTreeColumn() ? FSection - 1 : FSection;
            const TCvColumnTexts* Cols = Item->ColumnTextList();
            Text = Cols && I < Cols->Count() ? &Cols->Strings(I) : &FEmpty;
        }
        if (!Text) {
            FStore.push_back(T.DoVirtualTextNeeded(Item, FSection));
            Text = &FStore.back();
        }
        if (FType == stText && !T.SortUseCase) {
            FStore.push_back(WideFoldCase(*Text));
            Text = &FStore.back();
        }
        FromText(K, *Text);
        return K;
    }

    int Compare(const TCvSortKey& A, const TCvSortKey& B) {
        int R;
        if (FType == stCustom)
            R = T.DoCompareItems(A.Item, B.Item);
        else if (A.Kind == skNone || B.Kind == skNone)
            R = (A.Kind == skNone ? 0 : 1) - (B.Kind == skNone ? 0 : 1);
        else
            switch (FType) {
            case stText:
                R = CompareTexts(A.Text, B.Text);
                break;
            case stFloating:
            case stDateTime:
            case stDate:
            case stTime:
                R = Order(A.Real, B.Real);
                break;
            default:
                R = Order(A.Int, B.Int);
            }
        if (FNegate)
            R = -R;
        for (size_t I = 0; R == 0 && I < T.FSortSections.size(); ++I)
            R = CompareBySection(A.Item, B.Item, T.FSortSections[I]);
        return R == 0 ? Tie(A, B) : R;
    }

    // The last word: different items never compare equal.
    int Tie(const TCvSortKey& A, const TCvSortKey& B) const {
        if (A.Seq == B.Seq)
            return 0;
        const int R = A.Seq < B.Seq ? -1 : 1;
        return FNegate ? -R : R;
    }

    // Middle pivot, both ends closing in, the left part by recursion. Below answers whether
    // a key sorts before another.
    template <class TBelow>
    static void QuickSort(std::vector<TCvSortKey>& A, int L, int R, TBelow& Below) {
        do {
            int I = L, J = R;
            const TCvSortKey P = A[(L + R) / 2];
            do {
                while (A[I].Seq != P.Seq && Below(A[I], P))
                    ++I;
                while (A[J].Seq != P.Seq && !Below(A[J], P))
                    --J;
                if (I <= J) {
                    if (I != J)
                        std::swap(A[I], A[J]);
                    ++I;
                    --J;
                }
            } while (I <= J);
            if (L < J)
                QuickSort(A, L, J, Below);
            L = I;
        } while (L < R);
    }

    // Plain keys without tie-breaker columns compare inline; the rest through Compare.
    void SortKeys(std::vector<TCvSortKey>& A) {
        const int R = static_cast<int>(A.size()) - 1;
        const bool Plain = FType != stCustom && T.FSortSections.empty();
        // Keyless first, then by value, then the direction, then identity.
        auto Sort = [&](auto Values) {
            auto Below = [&](const TCvSortKey& X, const TCvSortKey& Y) {
                int C = (X.Kind == skNone ? 0 : 1) - (Y.Kind == skNone ? 0 : 1);
                if (C == 0)
                    C = Values(X, Y);
                C = FNegate ? -C : C;
                return (C == 0 ? Tie(X, Y) : C) < 0;
            };
            QuickSort(A, 0, R, Below);
        };
        if (Plain && FType == stText) {
            Sort([](const TCvSortKey& X, const TCvSortKey& Y) {
                return CompareTexts(X.Text, Y.Text);
            });
        } else if (Plain && (FType == stNumber || FType == stBoolean || FType == stCurrency)) {
            Sort([](const TCvSortKey& X, const TCvSortKey& Y) { return Order(X.Int, Y.Int); });
        } else {
            auto Below = [this](const TCvSortKey& X, const TCvSortKey& Y) {
                return Compare(X, Y) < 0;
            };
            QuickSort(A, 0, R, Below);
        }
    }

    // Sorts Parent's child list (and, when recursive, every list below it).
    void SortList(TCvTreeItem* Parent, bool Recursive) {
        auto& Kids = Parent->FChildren;
        const int N = static_cast<int>(Kids.size());
        if (N > 1) {
            FStore.clear();
            FStore.reserve(static_cast<size_t>(N) * 2);
            std::vector<TCvSortKey> Keys;
            Keys.reserve(N);
            for (const auto& C : Kids)
                Keys.push_back(MakeKey(C.get()));
            Parent->FFlags |= ifSorting;
            try {
                SortKeys(Keys);
            } catch (...) {
                Parent->FFlags &= ~ifSorting;
                throw;
            }
            Parent->FFlags &= ~ifSorting;
            std::vector<std::unique_ptr<TCvTreeItem>> Sorted(N);
            for (int I = 0; I < N; ++I) {
                TCvTreeItem* Item = Keys[I].Item;
                Sorted[I] = std::move(Kids[Item->FIndexInParent]);
                Item->FIndexInParent = I;
            }
            Kids.swap(Sorted);
        }
        if (Recursive)
            for (const auto& C : Kids)
                if (C->ChildrenCount() > 0)
                    SortList(C.get(), true);
    }

private:
    void FromText(TCvSortKey& K, const TCvString& Text) {
        switch (FType) {
        case stText:
            K.Kind = skString;
            K.Text = Text;
            break;
        case stNumber: {
            int V;
            if (TryStrToInt(Text, V)) {
                K.Kind = skInteger;
                K.Int = V;
            }
            break;
        }
        case stFloating:
        case stDateTime:
        case stDate:
        case stTime: {
            double V;
            // A date or time column may carry both parts; the key keeps the one it compares.
            const bool Ok = FType == stFloating ? TryStrToFloat(Text, V)
                                                : TryStrToDateTime(Text, V) ||
                                                      (FType == stDate && TryStrToDate(Text, V)) ||
                                                      (FType == stTime && TryStrToTime(Text, V));
            if (Ok) {
                K.Kind = skDouble;
                K.Real = DayPart(V);
            }
            break;
        }
        case stBoolean:
            K.Kind = skBoolean;
            K.Int = Text.empty() ? 0 : 1;
            break;
        case stCurrency:
            K.Kind = skCurrency;
            K.Int = ParseCurrencyText(Text);
            break;
        default:
            break;
        }
    }

    // stDate compares whole days, stTime the time of day.
    double DayPart(double V) const {
        if (FType == stDate)
            return std::trunc(V);
        if (FType == stTime)
            return std::fabs(V - std::trunc(V));
        return V;
    }

    TCvSortKey VirtualKey(TCvTreeItem* Item) {
        TCvSortKey K{Item, Item->Sequence(), {}};
        static constexpr int VarTypes[] = {4, 4, 0, 3, 3, 3, 3, 1, 12};
        const TCvVariant V = T.DoVirtualValueNeeded(Item, FSection, VarTypes[FType]);
        if (const auto* I = std::get_if<std::int32_t>(&V)) {
            K.Int = *I;
            K.Real = *I;
        } else if (const auto* D = std::get_if<double>(&V)) {
            K.Real = *D;
            K.Int = static_cast<std::int64_t>(std::llround(*D * (FType == stCurrency ? 10000 : 1)));
        } else if (const auto* B = std::get_if<bool>(&V)) {
            K.Int = *B ? 1 : 0;
            K.Real = K.Int;
        } else if (const auto* C = std::get_if<std::int64_t>(&V)) {
            K.Int = *C;
            K.Real = static_cast<double>(*C) / 10000;
        } else if (const auto* S = std::get_if<TCvString>(&V)) {
            FromText(K, *S);
            return K;
        } else {
            return K;
        }
        K.Kind = FType == stNumber     ? skInteger
                 : FType == stBoolean  ? skBoolean
                 : FType == stCurrency ? skCurrency
                                       : skDouble;
        K.Real = DayPart(K.Real);
        return K;
    }

    // A tie-breaker column, read fresh, ascending unless the section is marked descending.
    int CompareBySection(TCvTreeItem* A, TCvTreeItem* B, int Section) {
        ICvTreeHeader* H = T.Header();
        const TSortTypes Type = H ? SortTypeOfField(H->FieldType(Section)) : stText;
        int R;
        if (Type == stCustom) {
            R = T.DoCompareItems(A, B);
        } else {
            TCvTreeSorter Tie(T, Section, Type, hsmAscend);
            Tie.FStore.reserve(4);
            TCvSortKey KA = Tie.MakeKey(A);
            TCvSortKey KB = Tie.MakeKey(B);
            if (Type == stText) {
                R = CompareTexts(KA.Text, KB.Text);
            } else {
                // Unreadable values count as 0 here.
                if (KA.Kind == skNone)
                    KA.Int = 0, KA.Real = 0;
                if (KB.Kind == skNone)
                    KB.Int = 0, KB.Real = 0;
                R = Type == stNumber || Type == stBoolean || Type == stCurrency
                        ? Order(KA.Int, KB.Int)
                        : Order(KA.Real, KB.Real);
            }
        }
        if (H && H->SortMark(Section) == hsmDescend)
            R = -R;
        return R;
    }

    TCvTreeCore& T;
    int FSection;
    TSortTypes FType;
    bool FNegate;
    std::vector<TCvString> FStore;
    const TCvString FEmpty;
};

void TCvTreeItem::SortChildren(bool Recursive) {
    TCvTreeCore& T = *FOwner;
    struct TCount {
        int& N;
        explicit TCount(int& Count) : N(++Count) {}
        ~TCount() { --N; }
    } Running(T.FSortingCount);
    if (FChildren.empty() || (FChildren.size() == 1 && !Recursive))
        return;
    TCvTreeCore::TBatch Batch(T);
    int Section = T.ShowColumns() && T.SortSection() < T.SectionCount() ? T.SortSection() : -1;
    TSortTypes Type = T.SortType;
    TCvSortMark Mark = hsmNone;
    if (Section >= 0 && T.Header()) {
        Mark = T.Header()->SortMark(Section);
        Type = SortTypeOfField(T.Header()->FieldType(Section));
    }
    const int First = FChildren.front()->AbsIndex();
    TCvTreeSorter(T, Section, Type, Mark).SortList(this, Recursive);

    // Rewrite the subtree's block of the flat list in the new pre-order; each position is exact.
    TCvList& Flat = *FCollection->FFlat;
    int Pos = First;
    WalkBelow([&](TCvTreeItem* Item) {
        Flat.Put(Pos, Item);
        Item->FAbsIndex = Pos++;
        return true;
    });
    FCollection->VisibilityChanged();
    T.RowListDirty = true;
    T.RepaintAll = true;
    T.ViewUpdatePending = true;
    Batch.Close();
}

void TCvTreeCore::Sort(bool Recursive) {
    DoSortBegin();
    GetRoot()->SortChildren(Recursive);
    DoSortEnd();
}

int TCvTreeCore::CompareItems(TCvTreeItem* Item1, TCvTreeItem* Item2, int SectionIndex,
                              TSortTypes ASortType, TCvSortMark Mark) {
    TCvTreeSorter Sorter(*this, SectionIndex, ASortType, Mark);
    const TCvSortKey A = Sorter.MakeKey(Item1);
    const TCvSortKey B = Sorter.MakeKey(Item2);
    return Sorter.Compare(A, B);
}

void TCvTreeCore::AddSortSection(int SectionIndex, bool Resort) {
    RemoveSortSection(SectionIndex, false);
    FSortSections.push_back(SectionIndex);
    if (Resort)
        ResortNowOrLater();
}

void TCvTreeCore::RemoveSortSection(int SectionIndex, bool Resort) {
    std::erase(FSortSections, SectionIndex);
    if (Resort)
        ResortNowOrLater();
}

TCvString TCvTreeCore::ColumnText(const TCvTreeItem* Item, int SectionIndex) {
    TCvTreeItem* const I = const_cast<TCvTreeItem*>(Item);
    if (IsVirtual())
        return DoVirtualTextNeeded(I, SectionIndex);
    if (SectionIndex == -1 || SectionIndex == FMainTreeColumn)
        return Item->Text();
    const int Index = SectionIndex > FMainTreeColumn ? SectionIndex - 1 : SectionIndex;
    const TCvColumnTexts* Cols = Item->ColumnTextList();
    return Cols && Index < Cols->Count() ? Cols->Strings(Index) : TCvString();
}

void TCvTreeCore::ResortNowOrLater() {
    if (IsUpdating()) {
        ResortPending = true;
        return;
    }
    TBatch Batch(*this);
    Sort(true);
    Batch.Close();
}
