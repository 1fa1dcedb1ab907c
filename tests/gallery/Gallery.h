// A gallery page: what one library shows of its controls, each in each state, on a form of its
// own. See Gallery.cpp for how to add a page.
#pragma once

#include "classlib/gui/Forms.h"

// Fills Form (a plain form, owned by the application) with the page's controls and sizes it.
using TGalleryBuild = void (*)(TForm& Form);

class TLabel;

// Makes a control owned by and placed in Parent, at Where.
template <class TControlClass> TControlClass* GalleryPlace(TWinControl& Parent, TRect Where) {
    auto* Control = new TControlClass(&Parent);
    Control->SetParent(&Parent);
    Control->SetBoundsRect(Where);
    return Control;
}

// A label of 120 x 15 at (Left, Top) of Parent, naming the control beside it.
TLabel* GalleryCaption(TWinControl& Parent, int Left, int Top, const String& Text);

// Declared at namespace scope in a page's source: registers the page under Name.
struct TGalleryPage {
    TGalleryPage(const wchar_t* Name, TGalleryBuild Build);
};
