#include "treelist/CvTreeInplace.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Forms.h"
#include "treelist/CvTree.h"
#include "treelist/CvTreeError.h"

#include <algorithm>
#include <memory>

// ----------------------------------------------------------------- the editor

TCvTreeInplaceEditor::~TCvTreeInplaceEditor() {
    // The derived editor is gone by now: no virtual call, only the references are dropped.
    Detach();
}

void TCvTreeInplaceEditor::Detach() {
    if (!FTree)
        return;
    TCvTreeView& View = FTree->TreeView();
    if (View.Editor() == this)
        View.EditOperationCancelled();
    if (TCvTreeInplaceManager* Manager = InplaceManagerOf(*FTree, false))
        Manager->UnregisterEditor(this);
    RemoveFreeNotification(FTreeComponent);
    FTree = nullptr;
    FTreeComponent = nullptr;
    FEditing = false;
}

void TCvTreeInplaceEditor::SetTree(TCustomCvTree* Value) {
    if (Value == FTree)
        return;
    if (FTree && IsEditorVisible())
        CompleteOperation(false);
    Detach();
    if (!Value)
        return;
    FTree = Value;
    FTreeComponent = Value;
    Value->FreeNotification(this);
    InplaceManagerOf(*Value, true)->RegisterEditor(this);
}

void TCvTreeInplaceEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || !FTreeComponent)
        return;
    if (AComponent == FTreeComponent) {
        // Only the tree's component part is left: drop the reference, call nothing.
        FTree = nullptr;
        FTreeComponent = nullptr;
        FEditing = false;
        return;
    }
    if (dynamic_cast<TCvTreeInplaceManager*>(AComponent) && AComponent->Owner() == FTreeComponent) {
        if (!FTreeComponent->Destroying()) {
            if (IsEditorVisible())
                CompleteOperation(false);
            RemoveFreeNotification(FTreeComponent);
        }
        FTree = nullptr;
        FTreeComponent = nullptr;
        FEditing = false;
    }
}

void TCvTreeInplaceEditor::StartOperation() {
    DoStartOperation();
    bool DefaultConversion = true;
    TriggerBeforeOperation(DefaultConversion);
    ShowEditor();
    FEditing = true;
}

void TCvTreeInplaceEditor::TriggerBeforeOperation(bool& DefaultConversion) {
    DefaultConversion = true;
    if (OnBeforeOperation)
        OnBeforeOperation(this, DefaultConversion);
    if (DefaultConversion && ValueAsText.empty())
        ValueAsText = DefaultValueAsText;
}

void TCvTreeInplaceEditor::TriggerAfterOperation(bool& Accepted, bool& DefaultConversion) {
    if (OnAfterOperation)
        OnAfterOperation(this, Accepted, DefaultConversion);
}

void TCvTreeInplaceEditor::TriggerValidateResult(bool& InputValid) {
    if (OnValidateResult)
        OnValidateResult(this, InputValid);
}

void TCvTreeInplaceEditor::CompleteOperation(bool Accepted) {
    FEditing = false;
    bool DefaultConversion = true;
    TriggerAfterOperation(Accepted, DefaultConversion);
    if (!FTree)
        return;
    const TForm* Form = GetParentForm(FTree);
    RestoreFocus = Form && Form->ActiveControl();
    RestoreViewFocus();
    if (!FTree)
        return;
    TCvTreeView& View = FTree->TreeView();
    if (View.Editor() != this)
        return;
    if (Accepted)
        View.EditOperationAccepted();
    else
        View.EditOperationCancelled();
}

void TCvTreeInplaceEditor::RestoreViewFocus() {
    if (!FTree || !RestoreFocus || FTree->IsDestroying())
        return;
    TCvTreeView& View = FTree->TreeView();
    const TWinControl* Parent = FTree->Parent();
    if (!View.CanFocus() || !FTree->CanFocus() || !Parent || !Parent->CanFocus())
        return;
    try {
        View.SetFocus();
    } catch (...) {
        // The focus is a courtesy; an edit has ended either way.
    }
}

// ----------------------------------------------------------------- the manager

TCvTreeInplaceManager::TCvTreeInplaceManager(TCustomCvTree* ATree) : TComponent(ATree) {}

TCvTreeInplaceManager::~TCvTreeInplaceManager() = default;

void TCvTreeInplaceManager::RegisterEditor(TCvTreeInplaceEditor* Editor) {
    if (std::find(FEditors.begin(), FEditors.end(), Editor) != FEditors.end())
        return;
    FEditors.push_back(Editor);
    Editor->FreeNotification(this);
    FreeNotification(Editor);
}

void TCvTreeInplaceManager::UnregisterEditor(TCvTreeInplaceEditor* Editor) {
    std::erase(FEditors, Editor);
    if (!Editor->Destroying())
        Editor->RemoveFreeNotification(this);
    RemoveFreeNotification(Editor);
}

TCvTreeInplaceEditor* TCvTreeInplaceManager::GetSuitableEditor(TCvFieldType FieldType) const {
    for (TCvTreeInplaceEditor* Editor : FEditors)
        if (Editor->Types.Contains(FieldType))
            return Editor;
    return nullptr;
}

void TCvTreeInplaceManager::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        std::erase_if(FEditors, [AComponent](const TComponent* E) { return E == AComponent; });
}

TCvTreeInplaceManager* InplaceManagerOf(TCustomCvTree& Tree, bool Create) {
    for (int I = 0; I < Tree.ComponentCount(); ++I)
        if (auto* Manager = dynamic_cast<TCvTreeInplaceManager*>(Tree.Components(I)))
            return Manager;
    if (!Create || Tree.Destroying())
        return nullptr;
    // Owned by the tree, which frees it with its other components.
    return new TCvTreeInplaceManager(&Tree);
}

// ----------------------------------------------------------------- the view's side

namespace {} // namespace

bool TCvTreeView::EditorShown() const {
    return FEditor && FEditor->IsEditorVisible();
}

void TCvTreeView::StopEditTimer() {
    if (FEditTimer)
        FEditTimer->SetEnabled(false);
}

void TCvTreeView::StartEditTimer(TCvTreeItem* Item, int SectionIndex, bool Immediate) {
    TCustomCvTree& T = *FTree;
    if (T.ComponentState().Contains(csDesigning))
        return;
    if (T.ShowColumns()) {
        const TCvHeaderSection* Section = T.SectionOf(SectionIndex);
        if ((SectionIndex != FLastClickSection && !T.QuickEditMode) || !Section ||
            !Section->Editable())
            return;
    } else {
        SectionIndex = -1;
    }
    if (!FEditTimer) {
        FEditTimer = std::make_unique<TTimer>(nullptr);
        FEditTimer->OnTimer = [this](TObject*) { EditTimerTick(); };
    }
    FEditTimer->SetEnabled(false);
    FEditTimer->SetInterval(Immediate ? 1 : static_cast<UINT>(std::max(1, T.InplaceEditorDelay)));
    FPendingEditItem = Item;
    FPendingEditSection = SectionIndex;
    FEditTimer->SetEnabled(true);
}

void TCvTreeView::EditTimerTick() {
    StopEditTimer();
    if (FFrameSelecting)
        return;
    if (TCvTreeItem* Item = std::exchange(FPendingEditItem, nullptr))
        EditItem(Item, FPendingEditSection);
}

TRect TCvTreeView::EditCellRect(TCvTreeItem& Item, int SectionIndex) {
    TCustomCvTree& T = *FTree;
    const int CW = ClientWidth();
    const TCvHeaderSection* Section = T.ShowColumns() ? T.SectionOf(SectionIndex) : nullptr;
    const bool Main = !Section || SectionIndex == T.MainTreeColumn();
    const auto OffView = [&](int X) { return X < T.LeftPosition() || X > T.LeftPosition() + CW; };
    int Left = 0, Right = 0;
    if (!Section) {
        if (OffView(Item.TextLeft))
            SetHPosition(Item.TextLeft);
        const int LP = T.LeftPosition();
        Left = T.RightAlignedTree() ? 0 : Item.TextLeft - LP;
        Right = T.RightAlignedTree() ? Item.TextRight - LP : CW - 1;
    } else if (!T.RightAlignedTree()) {
        const int X = Main ? Item.TextLeft : Section->LeftEdge();
        if (OffView(X))
            T.SetLeftPosition(X);
        const int LP = T.LeftPosition();
        Left = X - LP;
        Right = std::min(Section->RightEdge() - LP, CW - 1);
    } else {
        const int X = (Main ? Item.TextRight : Section->RightEdge()) - CW;
        if (OffView(X))
            T.SetLeftPosition(X);
        const int LP = T.LeftPosition();
        Left = std::max(Section->LeftEdge() - LP, 0);
        Right = CW + X - LP;
    }
    const TRect Row = GetItemRectOf(Item);
    return TRect(Left, Row.Top, Right, Row.Bottom);
}

void TCvTreeView::EditItem(TCvTreeItem* Item, int SectionIndex) {
    TCustomCvTree& T = *FTree;
    if (!Item)
        throw ECvTreeError(L"CvTree item not specified");
    // Scrolling, ending the previous edit and the edit events may each delete the item.
    const TCvItemHold Held(T, Item);
    if (!IsRow(*Item))
        T.EnsureVisible(Item);
    if (FEditor && Held)
        EndEdit(true);
    if (!Held)
        return;
    if (!T.ShowColumns())
        SectionIndex = -1;
    else if (SectionIndex == -1)
        SectionIndex = T.MainTreeColumn();
    FEditedItem = Item;
    const TCvHeaderSection* Section = T.SectionOf(SectionIndex);
    if (Section && !Section->Visible()) {
        FEditedItem = nullptr;
        return;
    }
    TCvFieldType CellType = Section ? Section->FieldType() : T.MainTextType;
    if (Item->HasFlag(ifUseStyles))
        if (const TCvCellStyle* Style = T.CellStyleOf(*Item, SectionIndex))
            CellType = Style->CellType;
    if (!T.IsDestroying() && !T.DoTryEdit(Item, SectionIndex, CellType)) {
        FEditedItem = nullptr;
        return;
    }
    if (!Held)
        return;
    const TCvTreeInplaceManager* Manager = InplaceManagerOf(T, false);
    TCvTreeInplaceEditor* Editor = Manager ? Manager->GetSuitableEditor(CellType) : nullptr;
    T.DoInplaceEditorNeeded(Item, SectionIndex, CellType, Editor);
    if (!Held)
        return;
    if (!Editor) {
        FEditedItem = nullptr;
        return;
    }
    const bool Main = SectionIndex < 0 || SectionIndex == T.MainTreeColumn();
    TCvString Value = Main            ? Item->GetItemText()
                      : T.IsVirtual() ? T.DoVirtualTextNeeded(Item, SectionIndex)
                                      : Item->CellText(SectionIndex);
    const TRect Cell = EditCellRect(*Item, SectionIndex);
    FEditor = Editor;
    Editor->SetTree(&T);
    Editor->ValueAsText = std::move(Value);
    Editor->Item = Item;
    Editor->SectionIndex = SectionIndex;
    Editor->DataType = CellType;
    Editor->CellRect = Cell;
    Editor->StartOperation();
}

void TCvTreeView::EndEdit(bool ByCancel) {
    if (FEditor)
        FEditor->CompleteOperation(!ByCancel);
}

void TCvTreeView::DropEdit() noexcept {
    StopEditTimer();
    FPendingEditItem = nullptr;
    try {
        EndEdit(true);
    } catch (...) {
        // Ending for good: nothing is left to report to.
    }
    FEditor = nullptr;
    FEditedItem = nullptr;
}

void TCvTreeView::EditOperationCancelled() {
    FEditor = nullptr;
    FEditedItem = nullptr;
}

void TCvTreeView::EditOperationAccepted() {
    TCustomCvTree& T = *FTree;
    TCvTreeInplaceEditor* const Editor = std::exchange(FEditor, nullptr);
    FEditedItem = nullptr;
    if (!Editor || !Editor->Item || T.IsVirtual())
        return;
    TCvTreeItem& Item = *Editor->Item;
    const int Section = Editor->SectionIndex;
    if (Section < 0 || Section == T.MainTreeColumn()) {
        Item.SetText(Editor->ValueAsText);
        return;
    }
    TCvColumnTexts Columns = *Item.ColumnTextList();
    const auto Index =
        static_cast<std::size_t>(Section > T.MainTreeColumn() ? Section - 1 : Section);
    // One assignment, so the item reports a single change however many empty texts pad it.
    std::vector<TCvString> Texts = Columns.Items();
    if (Texts.size() <= Index)
        Texts.resize(Index + 1);
    Texts[Index] = Editor->ValueAsText;
    Columns.Assign(Texts);
}

void TCustomCvTree::EditItem(TCvTreeItem* Item, int SectionIndex) {
    if (!Item)
        throw ECvTreeError(L"CvTree item not specified");
    if (!DoInplaceEdit)
        return;
    const TCvItemHold Held(*this, Item);
    try {
        FView->EndEdit(true);
    } catch (...) {
        // The new edit goes ahead whatever ending the old one raised.
    }
    if (Held)
        FView->EditItem(Item, SectionIndex);
}

void TCustomCvTree::EndEdit(bool ByCancel) {
    FView->EndEdit(ByCancel);
}
