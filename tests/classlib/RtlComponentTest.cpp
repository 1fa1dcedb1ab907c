#include "classlib/rtl/Classes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records its destruction order and the notifications it receives.
class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, String AName, std::vector<String>& Log)
        : TComponent(AOwner), FLog(Log) {
        Name = std::move(AName);
    }
    ~TProbe() override { FLog.push_back(L"free " + Name); }
    TComponent* Watched = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == Watched) {
            FLog.push_back(Name + L" lost " + AComponent->Name);
            Watched = nullptr;
        }
    }

private:
    std::vector<String>& FLog;
};

} // namespace

static_assert(!std::is_copy_constructible_v<TComponent>);
static_assert(!std::is_copy_assignable_v<TComponent>);

TEST(RtlComponent, OwnerDeletesItsComponentsLastToFirst) {
    std::vector<String> Log;
    {
        TProbe Owner(nullptr, L"owner", Log);
        new TProbe(&Owner, L"a", Log);
        auto* B = new TProbe(&Owner, L"b", Log);
        new TProbe(B, L"b1", Log);
        new TProbe(&Owner, L"c", Log);
        ASSERT_EQ(Owner.ComponentCount(), 3);
        EXPECT_EQ(Owner.Components(1), B);
        EXPECT_EQ(B->Owner(), &Owner);
        EXPECT_EQ(B->ComponentIndex(), 1);
        EXPECT_EQ(Owner.FindComponent(L"B"), B);
        EXPECT_EQ(Owner.FindComponent(L"zz"), nullptr);
        EXPECT_THROW(Owner.Components(3), EListError);
    }
    EXPECT_EQ(Log,
              (std::vector<String>{L"free owner", L"free c", L"free b", L"free b1", L"free a"}));
}

TEST(RtlComponent, ComponentDeletedFirstLeavesItsOwner) {
    std::vector<String> Log;
    {
        TProbe Owner(nullptr, L"owner", Log);
        auto* A = new TProbe(&Owner, L"a", Log);
        new TProbe(&Owner, L"b", Log);
        delete A;
        ASSERT_EQ(Owner.ComponentCount(), 1);
        EXPECT_EQ(Owner.Components(0)->Name, L"b");
    }
    EXPECT_EQ(Log, (std::vector<String>{L"free a", L"free owner", L"free b"}));
}

TEST(RtlComponent, InsertAndRemoveMoveOwnership) {
    std::vector<String> Log;
    TProbe First(nullptr, L"first", Log);
    TProbe Second(nullptr, L"second", Log);
    auto* C = new TProbe(&First, L"c", Log);
    Second.InsertComponent(C);
    EXPECT_EQ(First.ComponentCount(), 0);
    EXPECT_EQ(C->Owner(), &Second);
    Second.RemoveComponent(C);
    EXPECT_EQ(C->Owner(), nullptr);
    EXPECT_EQ(Second.ComponentCount(), 0);
    delete C;
}

TEST(RtlComponent, FreeNotificationDropsReferences) {
    std::vector<String> Log;
    TProbe Owner(nullptr, L"owner", Log);
    auto* Images = new TProbe(&Owner, L"images", Log);
    TProbe User(nullptr, L"user", Log);
    User.Watched = Images;
    Images->FreeNotification(&User);
    delete Images;
    EXPECT_EQ(User.Watched, nullptr);
    EXPECT_EQ(Log, (std::vector<String>{L"free images", L"user lost images"}));

    // A listener that goes first is forgotten, not called later.
    auto* Other = new TProbe(&Owner, L"other", Log);
    {
        TProbe ShortLived(nullptr, L"short", Log);
        Other->FreeNotification(&ShortLived);
    }
    delete Other;
    EXPECT_EQ(Log.back(), L"free other");
}

TEST(RtlComponent, DestroyComponentsRunsEarly) {
    std::vector<String> Log;
    TProbe Owner(nullptr, L"owner", Log);
    new TProbe(&Owner, L"x", Log);
    Owner.DestroyComponents();
    EXPECT_EQ(Owner.ComponentCount(), 0);
    EXPECT_EQ(Log, (std::vector<String>{L"free x"}));
}

TEST(RtlList, PointerListOperations) {
    int A = 1, B = 2, C = 3;
    TList L;
    EXPECT_EQ(L.Add(&B), 0);
    L.Insert(0, &A);
    L.Add(&C);
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(L.First(), &A);
    EXPECT_EQ(L.Last(), &C);
    EXPECT_EQ(L.IndexOf(&C), 2);
    EXPECT_EQ(L.Remove(&B), 1);
    EXPECT_EQ(L.Remove(&B), -1);
    L.Exchange(0, 1);
    EXPECT_EQ(L.Items(0), &C);
    L.Add(&B);
    L.Move(0, 2);
    EXPECT_EQ(L.Items(2), &C);
    L.Sort([](void* X, void* Y) { return *static_cast<int*>(Y) - *static_cast<int*>(X); });
    EXPECT_EQ(L.Items(0), &C);
    EXPECT_EQ(L.Items(2), &A);
    L.SetItems(1, nullptr);
    EXPECT_EQ(L.IndexOf(nullptr), 1);

    try {
        L.Items(3);
        FAIL() << "no exception";
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), L"List index out of bounds (3)");
    }
    EXPECT_THROW(L.Delete(-1), EListError);
    EXPECT_THROW(L.Insert(4, &A), EListError);
    EXPECT_THROW(L.Move(0, 3), EListError);
    L.Clear();
    EXPECT_THROW(L.First(), EListError);
}
