// Bitmap-skinned buttons: a left cap, a middle piece tiled across the width and a right cap, in a
// normal and a hover look, cut to a window region by a key colour. TavImageList holds one set of
// pictures and a caption font for any number of TavImageExpandButton controls.
#pragma once

#include "controls/FlatPushButton.h"

#include <array>
#include <vector>

// The six pictures of a skin, in this order.
enum TSkinImage {
    siNormalLeft,
    siNormalMiddle,
    siNormalRight,
    siHoverLeft,
    siHoverMiddle,
    siHoverRight,
};
constexpr int SkinImageCount = 6;

// Six skin pictures, each loaded from a path of its own.
class TSkinImages {
public:
    TBitmap& Image(TSkinImage Index) { return FImages[Index]; }
    const String& Path(TSkinImage Index) const { return FPaths[Index]; }
    // Stores Path and loads the picture from it; a file that is missing or no bitmap leaves the
    // picture empty, without a message.
    void SetPath(TSkinImage Index, const String& Path);

private:
    std::array<TBitmap, SkinImageCount> FImages;
    std::array<String, SkinImageCount> FPaths;
};

// A key pixel of a skin is cut out of the button's window: magenta-like colours.
constexpr bool IsSkinKeyPixel(int R, int G, int B) {
    return R >= 200 && G <= 50 && B >= 200;
}

// Fills Target (made Width x Height, 24 bits) with Middle tiled from the left, then Left at the
// left edge and Right at the right edge, each only when it is not empty.
void BuildSkinBackground(TBitmap& Target, int Width, int Height, TBitmap& Left, TBitmap& Middle,
                         TBitmap& Right);
// The region of the pixels of Background that are not key pixels.
TRegionObject SkinRegion(TBitmap& Background);

// A push button dressed in skin pictures: the backgrounds and the window region are made from
// the pictures at every size change and kept; painting copies them.
class TavSkinnedButton : public TWinPushButton {
public:
    using TWinPushButton::TWinPushButton;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TBitmap& NormalBackground() { return FNormal; }
    TBitmap& HoverBackground() { return FHover; }

protected:
    // The pictures the button is dressed in now; none makes the button keep its last look.
    virtual TSkinImages* SkinImages() = 0;
    // The size the pictures allow, after a bounds change asked for AWidth x AHeight.
    virtual void ApplySizeRules(int AWidth, int AHeight) = 0;

    void BuildBackgrounds();
    void BuildRegion();
    // Height follows the normal middle piece; then the look is made again.
    void RefreshFromImages();

    void WndProc(TMessage& Message) override;
    void PaintBackground(TBitmap& Buffer) override;

private:
    TBitmap FNormal;
    TBitmap FHover;
};

class TavImageExpandButton;

// The skin and the caption font of a set of buttons. Loading a picture does not refresh the
// buttons; UpdateButtons does.
class TavImageList : public TComponent {
public:
    explicit TavImageList(TComponent* AOwner);
    ~TavImageList() override; // unlinks every button, the last linked first

    TSkinImages& Images() { return FImages; }
    TBitmap& Image(TSkinImage Index) { return FImages.Image(Index); }
    const String& ImagePath(TSkinImage Index) const { return FImages.Path(Index); }
    void SetImagePath(TSkinImage Index, const String& Path) { FImages.SetPath(Index, Path); }

    // The caption font a button takes when it links to the list; setting it copies Value and
    // refreshes the buttons, whose own fonts stay as they are.
    TFont& Font() { return FFont; }
    void SetFont(const TFont& Value);

    // Refreshes every linked button, the last linked first.
    void UpdateButtons();
    const std::vector<TavImageExpandButton*>& Buttons() const { return FButtons; }

private:
    friend class TavImageExpandButton;

    TSkinImages FImages;
    TFont FFont;
    std::vector<TavImageExpandButton*> FButtons;
};

// A skinned button fed by a TavImageList.
class TavImageExpandButton : public TavSkinnedButton {
public:
    explicit TavImageExpandButton(TComponent* AOwner);
    ~TavImageExpandButton() override;

    // The hover state the class's instances share.
    static THoverGroup& HoverGroup();

    TavImageList* ImageList() const { return FImageList; }
    // Joins List (copying its font) and refreshes; none only leaves the old list.
    void SetImageList(TavImageList* List);
    void RefreshFromImageList();

protected:
    TSkinImages* SkinImages() override;
    void ApplySizeRules(int AWidth, int AHeight) override;
    // Copies Cell leaving out its pure white pixels, so a glyph's white ground shows the skin.
    void PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) override;

private:
    TavImageList* FImageList = nullptr;
};
