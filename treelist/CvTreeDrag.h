// Dragging tree-list rows: the drag object of the class library's drag, the mapping between OLE
// effects and drag types, and where a drag image of the selected rows lies.
#pragma once

#include "classlib/gui/Controls.h"
#include "treelist/CvDragDrop.h"

#include <vector>

enum TDragImgMode { dimNever, dimOne, dimAll };
using TDragTypes = TEnumSet<TDragType>;

// The screen cursors of a tree-list drag (loaded from OLE32.DLL at the unit's start).
constexpr TCursor crCvTreeRefuse = 20001;
constexpr TCursor crCvTreeMove = 20002;
constexpr TCursor crCvTreeCopy = 20003;

// The drag of tree-list rows; the view that starts it owns it.
class TCvTreeDragObject : public TDragControlObject {
public:
    using TDragControlObject::TDragControlObject;
    // Refused, copy while Ctrl is held, else move; another control's drag as the library's.
    // Asked once after every pointer move: the rows' picture follows the pointer from here.
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;
    void Finished(TObject* Target, int X, int Y, bool Accepted) override;
    void HideDragImage() override;
    void ShowDragImage() override;
};

// The effects DoDragDrop may give for the allowed types.
DWORD OleEffectsOf(TDragTypes Types);
// The type an OLE drag ended with: move over link over copy.
TDragType DragTypeOfEffect(DWORD Effect);

// The span of the rows a drag image shows: one selected row (dimOne) or all of them (dimAll).
struct TCvDragSpan {
    bool Made = false;
    int Top = 0, Bottom = 0;
};
struct TCvDragRow {
    int Top, Bottom;
    bool Selected;
};
TCvDragSpan DragSpanOf(TDragImgMode Mode, const std::vector<TCvDragRow>& Rows);
