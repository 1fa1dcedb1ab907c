// Painting of the view: the background, the rows and their cells.
#include "treelist/CvTree.h"

void TCvTreeView::Paint() {
    FPainting = true;
    PaintTo(Canvas().Handle(), Canvas().ClipRect());
    FPainting = false;
}

void TCvTreeView::PaintTo(HDC DC, const TRect& Box) {
    FillRectColor(DC, Box, FTree->BkColor());
}

void TCvTreeView::PrepareBackground() {}
