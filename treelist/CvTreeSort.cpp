// Sorting: every child list on its own, by typed keys built once per sort, with a comparison
// that never calls two different items equal; the flat list is rewritten once per sort.
#include "treelist/CvTreeCore.h"

#include "treelist/CvStrUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>

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
    std::uint32_t Pos = 0; // in the child list being sorted
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
        TCvSortKey K{Item, 0, Item->Sequence(), {}};
        if (FType == stCustom) {
            K.Kind = skString;
            return K;
        }
        if (T.IsVirtual() && FType != stText)
            return VirtualKey(Item);
        std::wstring_view Text = KeyText(Item);
        if (FType == stText && !T.SortUseCase) {
            FStore.push_back(WideFoldCase(TCvString(Text)));
            Text = FStore.back();
        }
        FromText(K, Text);
        return K;
    }

    // The text a key is read from: the item's own, or asked of the owner in virtual mode (kept
    // in FStore, which the caller reserves so that earlier texts stay put).
    std::wstring_view KeyText(TCvTreeItem* Item) {
        if (!T.IsVirtual())
            return StoredText(Item);
        FStore.push_back(T.DoVirtualTextNeeded(Item, FSection));
        return FStore.back();
    }

    // The item's own text of the sort column; the tree must not be virtual.
    std::wstring_view StoredText(const TCvTreeItem* Item) const {
        if (FSection == -1 || FSection == T.MainTreeColumn())
            return Item->Text();
        const int I = FSection > T.MainTreeColumn() ? FSection - 1 : FSection;
        return I < Item->FTexts.ColumnCount() ? Item->FTexts.Column(I) : std::wstring_view();
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
        if (Plain && (FType == stNumber || FType == stBoolean || FType == stCurrency)) {
            Sort([](const TCvSortKey& X, const TCvSortKey& Y) { return Order(X.Int, Y.Int); });
        } else {
            auto Below = [this](const TCvSortKey& X, const TCvSortKey& Y) {
                return Compare(X, Y) < 0;
            };
            QuickSort(A, 0, R, Below);
        }
    }

    // Sorts Parent's child list, and when recursive every list below it. Leaves says that no
    // child has children of its own, which spares a look at each of them.
    void SortList(TCvTreeItem* Parent, bool Recursive, bool Leaves) {
        const TCvChildList& Kids = Parent->FChildren;
        if (Kids.size() > 1) {
            Parent->FFlags |= ifSorting;
            try {
                SortKids(Parent->FChildren.Contiguous());
            } catch (...) {
                Parent->FFlags &= ~ifSorting;
                throw;
            }
            Parent->FFlags &= ~ifSorting;
        }
        if (Recursive && !Leaves)
            for (const auto& C : Kids)
                if (C->ChildrenCount() > 0)
                    SortList(C.get(), true, false);
    }

private:
    using TKids = std::vector<std::unique_ptr<TCvTreeItem>>;

    // Plain text and whole-number keys are packed into a few words; the rest goes through
    // Compare. Every path gives the same order, a total one. Fresh memory is kept to the one
    // key array a path needs: touching new pages costs more than sorting them.
    void SortKids(TKids& Kids) {
        const bool Plain = FType != stCustom && T.FSortSections.empty();
        if (Plain && FType == stText) {
            SortByText(Kids);
            return;
        }
        if (Plain && (FType == stNumber || FType == stBoolean) && SortByWholeNumber(Kids))
            return;
        FStore.clear();
        FStore.reserve(Kids.size() * 2);
        std::vector<TCvSortKey> Keys;
        Keys.reserve(Kids.size());
        ForEachChild(Kids, [&](std::size_t I, TCvTreeItem* Item) {
            Keys.push_back(MakeKey(Item));
            Keys.back().Pos = static_cast<std::uint32_t>(I);
        });
        SortKeys(Keys);
        PlaceChildren(Kids, [&Keys](std::size_t I) { return Keys[I].Item; });
    }

    // Visits the children in order while the key texts of those further on are fetched into
    // the cache, one link of the chain item -> text block per step: read one by one, each item
    // would wait on memory twice.
    template <class TVisit> void ForEachChild(const TKids& Kids, TVisit Visit) const {
        constexpr std::size_t Ahead = 16;
        const std::size_t N = Kids.size();
        const bool Stored = !T.IsVirtual();
        for (std::size_t I = 0; I < N; ++I) {
            if (Stored) {
                if (I + 2 * Ahead < N)
                    __builtin_prefetch(&Kids[I + 2 * Ahead]->FTexts);
                if (I + Ahead < N)
                    __builtin_prefetch(StoredText(Kids[I + Ahead].get()).data());
            }
            Visit(I, Kids[I].get());
        }
    }

    // Puts the children in their new order; ChildAt(I) is the child for slot I, each child
    // once. Ownership moves slot by slot, so no second slot array is made; nothing here throws.
    template <class TChildAt> static void PlaceChildren(TKids& Kids, TChildAt ChildAt) noexcept {
        for (std::size_t I = 0; I < Kids.size(); ++I) {
            static_cast<void>(Kids[I].release());
            Kids[I].reset(ChildAt(I));
        }
    }

    // Replaces each key's position, PosOf(Keys[I]), by the child standing there, written into
    // Slot(Keys[I]) (the key's own memory: new pages cost more than the sort). The positions
    // are scattered, so they are read ahead.
    template <class TKey, class TPosOf, class TSlot>
    static void FetchChildren(const TKids& Kids, std::vector<TKey>& Keys, TPosOf PosOf,
                              TSlot Slot) {
        constexpr std::size_t Ahead = 16;
        const std::size_t N = Keys.size();
        for (std::size_t I = 0; I < N; ++I) {
            if (I + Ahead < N)
                __builtin_prefetch(&Kids[PosOf(Keys[I + Ahead])]);
            const TCvTreeItem* Child = Kids[PosOf(Keys[I])].get();
            Slot(Keys[I]) = reinterpret_cast<std::uintptr_t>(Child);
        }
    }

    static TCvTreeItem* ChildOf(std::uint64_t Slot) {
        return reinterpret_cast<TCvTreeItem*>(static_cast<std::uintptr_t>(Slot));
    }

    // Stable sort of the words by their bits Low..Low+Bits-1, eleven bits a pass.
    static void RadixSort(std::vector<std::uint64_t>& A, int Low, int Bits) {
        constexpr int Digit = 11;
        constexpr std::size_t Buckets = std::size_t{1} << Digit;
        std::vector<std::uint64_t> B;
        std::vector<std::size_t> Count(Buckets);
        for (int Shift = Low; Shift < Low + Bits; Shift += Digit) {
            std::fill(Count.begin(), Count.end(), 0);
            for (const std::uint64_t V : A)
                ++Count[(V >> Shift) & (Buckets - 1)];
            if (std::find(Count.begin(), Count.end(), A.size()) != Count.end())
                continue; // one digit for all: nothing moves
            std::size_t Sum = 0;
            for (std::size_t& C : Count)
                Sum += std::exchange(C, Sum);
            B.resize(A.size());
            for (const std::uint64_t V : A)
                B[Count[(V >> Shift) & (Buckets - 1)]++] = V;
            A.swap(B);
        }
    }

    // Whole-number keys packed with their position in one word: the keyed flag and the value
    // (both turned over when descending) above, the position below. A stable sort of the words
    // leaves equal values in list order, which is the identity order when the list was in it;
    // otherwise each run of equal values is put in identity order after.
    bool SortByWholeNumber(TKids& Kids) {
        constexpr int IndexBits = 27; // positions stay below CvMaxListSize + 1
        constexpr int ValueBits = 33;
        constexpr std::uint64_t IndexMask = (std::uint64_t{1} << IndexBits) - 1;
        constexpr std::uint64_t ValueMask = (std::uint64_t{1} << ValueBits) - 1;
        const std::size_t N = Kids.size();
        if (N > IndexMask + 1)
            return false;
        std::vector<std::uint64_t> Packed(N);
        bool Fits = true;
        bool InIdentityOrder = true;
        std::uint64_t Previous = 0;
        FStore.clear();
        // Stored numbers are read straight from their text, as MakeKey would read them.
        const bool Direct = FType == stNumber && !T.IsVirtual();
        ForEachChild(Kids, [&](std::size_t I, TCvTreeItem* Item) {
            bool Keyed;
            std::int64_t Int;
            if (Direct) {
                int Parsed;
                Keyed = TryStrToInt(TCvString(StoredText(Item)), Parsed);
                Int = Parsed;
            } else {
                const TCvSortKey K = MakeKey(Item);
                Keyed = K.Kind != skNone;
                Int = K.Int;
            }
            std::uint64_t Value = 0;
            if (Keyed) {
                Fits = Fits && Int >= INT32_MIN && Int <= INT32_MAX;
                Value = (std::uint64_t{1} << 32) |
                        (static_cast<std::uint32_t>(Int) ^ std::uint32_t{0x80000000});
            }
            if (FNegate)
                Value = ~Value & ValueMask;
            Packed[I] = Value << IndexBits | I;
            const std::uint64_t Seq = Item->Sequence();
            InIdentityOrder = InIdentityOrder && (I == 0 || Seq > Previous);
            Previous = Seq;
        });
        if (!Fits)
            return false;
        RadixSort(Packed, IndexBits, ValueBits);
        const auto Seq = [&Kids](std::uint64_t W) { return Kids[W & IndexMask]->Sequence(); };
        for (std::size_t From = 0; From < N;) {
            std::size_t To = From + 1;
            while (To < N && (Packed[To] >> IndexBits) == (Packed[From] >> IndexBits))
                ++To;
            const auto First = Packed.begin() + static_cast<std::ptrdiff_t>(From);
            const auto Last = Packed.begin() + static_cast<std::ptrdiff_t>(To);
            if (To - From > 1) {
                if (!InIdentityOrder)
                    std::sort(First, Last,
                              [&](std::uint64_t A, std::uint64_t B) { return Seq(A) < Seq(B); });
                if (FNegate)
                    std::reverse(First, Last);
            }
            From = To;
        }
        FetchChildren(
            Kids, Packed, [](std::uint64_t W) { return W & IndexMask; },
            [](std::uint64_t& W) -> std::uint64_t& { return W; });
        PlaceChildren(Kids, [&Packed](std::size_t I) { return ChildOf(Packed[I]); });
        return true;
    }

    // A text key: its first eight units (folded unless case counts) packed so that comparing
    // the words compares the texts' starts; the rest is read from the text only on a tie.
    struct TTextKey {
        std::uint64_t Head[2];
        std::uint32_t Index;
        std::uint32_t Length;
    };

    void SortByText(TKids& Kids) {
        const std::size_t N = Kids.size();
        const bool Fold = !T.SortUseCase;
        std::vector<TTextKey> Keys(N);
        FStore.clear();
        FStore.reserve(T.IsVirtual() ? N : 0);
        ForEachChild(Kids, [&](std::size_t I, TCvTreeItem* Item) {
            const std::wstring_view Text = KeyText(Item);
            TTextKey& K = Keys[I];
            K.Head[0] = K.Head[1] = 0;
            const std::size_t Take = std::min<std::size_t>(Text.size(), 8);
            for (std::size_t U = 0; U < Take; ++U) {
                const std::uint64_t Unit = Fold ? WideFoldUnit(Text[U]) : Text[U];
                K.Head[U / 4] |= (Unit & 0xFFFF) << (48 - 16 * (U % 4));
            }
            K.Index = static_cast<std::uint32_t>(I);
            K.Length = static_cast<std::uint32_t>(Text.size());
        });
        // Texts are looked up again only past a tie of the first eight units.
        const bool Stored = !T.IsVirtual();
        auto TextAt = [&](std::uint32_t I) -> std::wstring_view {
            return Stored ? StoredText(Kids[I].get()) : FStore[I];
        };
        auto Unit = [Fold](wchar_t C) -> std::uint16_t { return Fold ? WideFoldUnit(C) : C; };
        // Ordinal order of the (folded) texts, -1, 0 or 1.
        auto Texts3 = [&](const TTextKey& A, const TTextKey& B) {
            for (int H = 0; H < 2; ++H)
                if (A.Head[H] != B.Head[H])
                    return A.Head[H] < B.Head[H] ? -1 : 1;
            if (A.Length > 8 && B.Length > 8) {
                const std::wstring_view TA = TextAt(A.Index);
                const std::wstring_view TB = TextAt(B.Index);
                const std::size_t Common = std::min(TA.size(), TB.size());
                for (std::size_t U = 8; U < Common; ++U)
                    if (Unit(TA[U]) != Unit(TB[U]))
                        return Unit(TA[U]) < Unit(TB[U]) ? -1 : 1;
            }
            return Order(A.Length, B.Length);
        };
        const bool Negate = FNegate;
        std::sort(Keys.begin(), Keys.end(), [&](const TTextKey& A, const TTextKey& B) {
            const int R = Texts3(A, B);
            if (R != 0)
                return Negate ? R > 0 : R < 0;
            const std::uint64_t SA = Kids[A.Index]->Sequence(), SB = Kids[B.Index]->Sequence();
            return Negate ? SA > SB : SA < SB;
        });
        FetchChildren(
            Kids, Keys, [](const TTextKey& K) { return K.Index; },
            [](TTextKey& K) -> std::uint64_t& { return K.Head[0]; });
        PlaceChildren(Kids, [&Keys](std::size_t I) { return ChildOf(Keys[I].Head[0]); });
    }

    void FromText(TCvSortKey& K, std::wstring_view View) {
        if (FType == stText) {
            K.Kind = skString;
            K.Text = View;
            return;
        }
        const TCvString Text(View);
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
        TCvSortKey K{Item, 0, Item->Sequence(), {}};
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
    // A block no longer than the child list holds only leaves (the root's block is the whole
    // list, whose positions a sort may have left to be renumbered).
    const int Block =
        FParent ? LastDescendant()->AbsIndex() - First + 1 : FCollection->TotalCount();
    const bool Leaves = Block == ChildrenCount();
    TCvTreeSorter(T, Section, Type, Mark).SortList(this, Recursive, Leaves);

    // Rewrite the subtree's block of the flat list in the new pre-order; the items' own
    // positions are renumbered when next asked.
    TCvGapList<TCvTreeItem*>& Flat = FCollection->FFlat;
    auto Pos = static_cast<std::size_t>(First);
    if (Leaves) {
        for (const auto& C : FChildren)
            Flat[Pos++] = C.get();
    } else {
        WalkBelow([&](TCvTreeItem* Item) {
            Flat[Pos++] = Item;
            return true;
        });
    }
    FCollection->FlatChanged(First);
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
        return TCvString(Item->Text());
    const int Index = SectionIndex > FMainTreeColumn ? SectionIndex - 1 : SectionIndex;
    const std::optional<TCvColumnTexts> Cols = Item->ColumnTextList();
    return Cols && Index < Cols->Count() ? TCvString(Cols->Strings(Index)) : TCvString();
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
