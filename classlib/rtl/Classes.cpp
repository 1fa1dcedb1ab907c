// TPersistent, TComponent ownership and TList.
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/MergeSort.h"

#include <algorithm>
#include <typeinfo>

void TPersistent::Assign(const TPersistent& Source) {
    throw EConvertError(L"Cannot assign a " + FromUtf8(typeid(Source).name()) + L" to a " +
                        FromUtf8(typeid(*this).name()));
}

// ------------------------------------------------------------ TComponent

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    FState.Include(csDestroying);
    // Tell everyone who holds a reference to this component, and forget them.
    while (!FFreeNotifies.empty()) {
        TComponent* Other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Other->RemoveNotification(this);
        Other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format(L"List index out of bounds (%d)", {Index}));
    return FComponents[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const {
    if (FOwner == nullptr)
        return -1;
    const auto& List = FOwner->FComponents;
    const auto It = std::find(List.begin(), List.end(), this);
    return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->FOwner == this)
        return;
    if (AComponent->FOwner != nullptr)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

TComponent* TComponent::FindComponent(const String& AName) const {
    if (AName.empty())
        return nullptr;
    for (TComponent* C : FComponents)
        if (SameText(C->Name, AName))
            return C;
    return nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* Last = FComponents.back();
        Remove(Last);
        delete Last;
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto& Theirs = AComponent->FFreeNotifies;
    if (std::find(Theirs.begin(), Theirs.end(), this) == Theirs.end())
        Theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr)
        return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::Notification(TComponent* /*AComponent*/, TOperation /*Operation*/) {}

void TComponent::SetDesigning(bool Value) {
    FState.Set(csDesigning, Value);
    for (TComponent* Owned : FComponents)
        Owned->SetDesigning(Value);
}

void TComponent::BeginLoading() {
    FState.Include(csLoading);
    for (TComponent* Owned : FComponents)
        Owned->BeginLoading();
}

void TComponent::EndLoading() {
    // A component's Loaded may make new components here: the list can grow under the loop.
    for (std::size_t I = 0; I < FComponents.size(); ++I)
        FComponents[I]->EndLoading();
    if (FState.Contains(csLoading))
        Loaded();
}

void TComponent::Loaded() {
    FState.Exclude(csLoading);
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    // Given inside an open load bracket, it joins it.
    if (FState.Contains(csLoading))
        AComponent->BeginLoading();
}

void TComponent::Remove(TComponent* AComponent) {
    const auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (It != FComponents.end())
        FComponents.erase(It);
    AComponent->FOwner = nullptr;
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    const auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (It != FFreeNotifies.end())
        FFreeNotifies.erase(It);
}

// ----------------------------------------------------------------- TList

void TList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format(L"List index out of bounds (%d)", {Index}));
}

int TList::Add(void* Item) {
    FItems.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count())
        throw EListError(Format(L"List index out of bounds (%d)", {Index}));
    FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

int TList::Remove(void* Item) {
    const int Index = IndexOf(Item);
    if (Index >= 0)
        FItems.erase(FItems.begin() + Index);
    return Index;
}

int TList::IndexOf(const void* Item) const {
    const auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

void* TList::Items(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
    CheckIndex(Index);
    FItems[static_cast<std::size_t>(Index)] = Item;
}

void* TList::First() const {
    return Items(0);
}
void* TList::Last() const {
    return Items(Count() - 1);
}

void TList::Sort(const TListSortCompare& Compare) {
    MergeSort(FItems, [&Compare](void* A, void* B) { return Compare(A, B) < 0; });
}

void TList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    void* const Item = FItems[static_cast<std::size_t>(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, Item);
}
