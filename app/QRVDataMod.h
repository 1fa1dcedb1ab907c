// The data module: the never-shown holder of the skinned buttons' image lists and the glyph
// list, made before any window, since the windows' layouts name its lists.
#pragma once

#include "classlib/gui/Forms.h"
#include "classlib/gui/ImgList.h"
#include "controls/avImageExpandButton.h"

// The number of glyphs in ilGlyphs and their size.
constexpr int GlyphCount = 22;
constexpr int GlyphWidth = 21;
constexpr int GlyphHeight = 17;

class TfrmDM : public TForm {
public:
    // Its create handler runs the skin pass over it, which points the lists at AppDir.
    explicit TfrmDM(TComponent* AOwner);
    ~TfrmDM() override;

    // Buttons inside the pages and the list buttons of small dialogs.
    TavImageList* avILInside;
    // OK, Cancel, the message-box buttons, Back, Next and the main window's big buttons.
    TavImageList* avILBig;
    // The main window's small buttons at the top right.
    TavImageList* avILTop;
    // The 22 glyphs of 21 x 17 a button shows by its Tag.
    TImageList* ilGlyphs;
};

// The data module while it exists.
extern TfrmDM* frmDM;
