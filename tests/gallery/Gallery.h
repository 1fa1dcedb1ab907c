// A gallery page: what one library shows of its controls, each in each state, on a form of its
// own. See Gallery.cpp for how to add a page.
#pragma once

#include "classlib/gui/Forms.h"
#include "classlib/gui/NamedChild.h"

#include <utility>

// Fills Form (a plain form, owned by the application) with the page's controls and sizes it.
using TGalleryBuild = void (*)(TForm& Form);

class TLabel;

// Makes a control owned by and placed in Parent, at Where; the gallery's controls go unnamed.
template <class TControlClass, class... TArgs>
TControlClass* GalleryPlace(TWinControl& Parent, TRect Where, TArgs&&... Args) {
    return MakeNamedChild<TControlClass>(Parent, Parent, String(), Where,
                                         std::forward<TArgs>(Args)...);
}

// The same with a caption.
template <class TControlClass>
TControlClass* GalleryPut(TWinControl& Parent, TRect Where, const String& Caption = String()) {
    auto* Control = GalleryPlace<TControlClass>(Parent, Where);
    Control->SetCaption(Caption);
    return Control;
}

// A label of 120 x 15 at (Left, Top) of Parent, naming the control beside it.
TLabel* GalleryCaption(TWinControl& Parent, int Left, int Top, const String& Text);

// Declared at namespace scope in a page's source: registers the page under Name.
struct TGalleryPage {
    TGalleryPage(const wchar_t* Name, TGalleryBuild Build);
};
