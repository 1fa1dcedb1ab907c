// A gallery page: what one library shows of its controls, each in each state, on a form of its
// own. See Gallery.cpp for how to add a page.
#pragma once

#include "classlib/gui/Forms.h"

// Fills Form (a plain form, owned by the application) with the page's controls and sizes it.
using TGalleryBuild = void (*)(TForm& Form);

// Declared at namespace scope in a page's source: registers the page under Name.
struct TGalleryPage {
    TGalleryPage(const wchar_t* Name, TGalleryBuild Build);
};
