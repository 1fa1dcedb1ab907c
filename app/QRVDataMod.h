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

// The pictures of ilGlyphs by what they stand for; a button names one by its Tag.
enum TGlyph : int {
    GlyphNone = -1, // text-only buttons
    GlyphAdd = 0,
    GlyphDetails = 1,
    GlyphAddItem = 2,
    GlyphBackup = 3,
    GlyphBrowse = 4,
    GlyphClean = 5,
    GlyphDelete = 6,
    GlyphRemove = 7,
    GlyphAllDrives = 8,
    GlyphEdit = 9,
    GlyphClearFilter = 10,
    GlyphFilter = 11,
    GlyphOrganize = 12,
    GlyphDiscard = 13,
    GlyphRestore = 14,
    GlyphRunNow = 15,
    GlyphSelectAll = 16,
    GlyphSelectNone = 17,
    GlyphPack = 18,
    GlyphRescan = 19,
    GlyphRefresh = 20,
    GlyphStoredFiles = 21,
};

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
