// The in-place editing framework of the tree-list: the abstract editor an application derives
// from, and the tree's register of editors. The view's side (when an edit starts, where the
// editor goes, how its result is stored) is in CvTreeInplace.cpp.
#pragma once

#include "classlib/gui/Controls.h"
#include "treelist/CvColumnTypes.h"
#include "treelist/CvTreeItem.h"

#include <functional>
#include <vector>

class TCustomCvTree;

using TCvFieldTypes = TEnumSet<TCvFieldType>;
using TInplaceOperationEvent = std::function<void(TObject* Sender, bool& DefaultConversion)>;
using TInplaceAfterOperationEvent =
    std::function<void(TObject* Sender, bool& Accepted, bool& DefaultConversion)>;
using TInplaceValidationEvent = std::function<void(TObject* Sender, bool& InputValid)>;

// An editor shown over a cell. A concrete editor shows itself over CellRect in ShowEditor, loads
// ValueAsText, writes its result back into it and calls CompleteOperation when the user confirms
// or cancels.
class TCvTreeInplaceEditor : public TComponent {
public:
    explicit TCvTreeInplaceEditor(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCvTreeInplaceEditor() override;

    TCustomCvTree* Tree() const { return FTree; }
    // Registers with the tree's manager; an edit under way is cancelled first.
    void SetTree(TCustomCvTree* Value);
    bool Editing() const { return FEditing; }

    TCvFieldTypes Types;
    TCvString DefaultValueAsText;
    TCvTreeItem* Item = nullptr;
    TCvString ValueAsText;
    int SectionIndex = -1;
    TCvFieldType DataType = sftText;
    TRect CellRect;
    bool RestoreFocus = false;
    TInplaceOperationEvent OnBeforeOperation;
    TInplaceAfterOperationEvent OnAfterOperation;
    TInplaceValidationEvent OnValidateResult;

    virtual bool IsEditorVisible() = 0;
    virtual void StartOperation();
    virtual void CompleteOperation(bool Accepted);
    virtual void TriggerBeforeOperation(bool& DefaultConversion);
    virtual void TriggerAfterOperation(bool& Accepted, bool& DefaultConversion);
    virtual void TriggerValidateResult(bool& InputValid);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoStartOperation() {}
    virtual void ShowEditor() = 0;
    virtual void RestoreViewFocus();

private:
    // Forgets the tree without calling the derived editor.
    void Detach();

    bool FEditing = false;
    TCustomCvTree* FTree = nullptr;
    // The same tree as a component: what is left of it while its free notifications run.
    TComponent* FTreeComponent = nullptr;
};

// The editors registered with one tree, in the order of registration; it owns none of them.
class TCvTreeInplaceManager : public TComponent {
public:
    // The tree is the owner.
    explicit TCvTreeInplaceManager(TCustomCvTree* ATree);
    ~TCvTreeInplaceManager() override;

    void RegisterEditor(TCvTreeInplaceEditor* Editor);
    void UnregisterEditor(TCvTreeInplaceEditor* Editor);
    // The first registered editor that edits FieldType, null when none.
    TCvTreeInplaceEditor* GetSuitableEditor(TCvFieldType FieldType) const;
    const std::vector<TCvTreeInplaceEditor*>& Editors() const { return FEditors; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TCvTreeInplaceEditor*> FEditors;
};

// The tree's manager: one of the tree's components. Null when there is none and Create is off.
TCvTreeInplaceManager* InplaceManagerOf(TCustomCvTree& Tree, bool Create);
