// Skinned windows: borderless, with a painted frame and title band, close and help buttons in the
// band, dragged by the band and cut to a region. TFlatFormSystem holds the frame pictures all
// skinned windows share.
#pragma once

#include "app/NoRectForm.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/avImageExpandButton.h"

#include <array>

// The frame pictures, as the program's resources name them.
enum TFramePiece {
    fpTopLeft,
    fpTop,
    fpTopRight,
    fpLeft,
    fpRight,
    fpBottomLeft,
    fpBottom,
    fpBottomRight,
    fpTopLeftMask,
    fpTopRightMask,
};
constexpr int FramePieceCount = 10;

class TFlatForm;

// Loads the frame pictures once and knows the skin data folder. The one instance is made before
// the first skinned window and freed after the message loop; while it lives it is FlatFormSystem.
class TFlatFormSystem : public TObject {
public:
    // DataPath is the skin folder with a trailing backslash. A frame picture missing from the
    // program's resources raises.
    explicit TFlatFormSystem(const String& DataPath);
    ~TFlatFormSystem() override;

    const String DataPath;
    TBitmap& Piece(TFramePiece Index) { return FPieces[Index]; }
    // Gives Form references to the pictures, which stay this object's.
    void AssignFrame(TFlatForm& Form);

private:
    std::array<TBitmap, FramePieceCount> FPieces;
};

extern TFlatFormSystem* FlatFormSystem;

// The base of the skinned windows. Create them with NewForm: the skin-and-language pass and then
// the window's own OnShow run at its first show only.
class TFlatForm : public TForm {
public:
    explicit TFlatForm(TComponent* AOwner);
    ~TFlatForm() override;

    void AfterConstruction() override;

    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    // The band by which the window is dragged.
    int TitleBarHeight() const { return FTitleBarHeight; }
    void SetTitleBarHeight(int Value);
    // The window caption, also shown in the title band.
    String FormCaption() const { return Caption(); }
    void SetFormCaption(const String& Value);
    int FrameMargin = 14;

    // Shows the window, painting the frame and cutting the region first when its size changed
    // since the last painting.
    void ShowFlat();
    TModalResult ShowFlatModal();
    // Opens the application's help file; windows with help of their own override it.
    virtual void ShowHelp();
    // The close button: OnClose runs once; the action it leaves decides, and caNone hides.
    void CloseButtonClick(TObject* Sender);

    // The painted frame, the window's face.
    TBitmap& Background() { return FBackground; }
    int LastSkinWidth() const { return FLastSkinWidth; }
    int LastSkinHeight() const { return FLastSkinHeight; }

    TNonRectForm* RegionMaker;
    TLabel* TitleLabel;
    TavImageList* CloseImages;
    TavImageList* HelpImages;
    TavImageExpandButton* CloseButton;
    TavImageExpandButton* HelpButton;

protected:
    void WndProc(TMessage& Message) override;
    void PaintWindow(HDC DC) override;
    bool CloseQuery() override;
    void DoClose(TCloseAction& Action) override;

    // Paints the frame into Background and cuts the region; an error keeps what was there.
    void BuildSkin();
    // A large skinned button of the dialog, without a glyph; a Result closes the dialog with it.
    TavImageExpandButton* MakeDialogButton(const String& Name, const TRect& Bounds,
                                           TModalResult Result = mrNone);
    // A small skinned button beside the dialog's list, with the glyph of ilGlyphs at Glyph.
    TavImageExpandButton* MakeListButton(const String& Name, const TRect& Bounds, int Glyph);

private:
    friend class TFlatFormSystem;
    void FirstShow();
    void PlaceTitleParts();
    TavImageExpandButton* MakeTitleButton(TavImageList*& Images, const String& Picture, int Left);

    TColor FBorderColor = 0xDCCAB4;
    int FTitleBarHeight = 37;
    TBitmap FBackground;
    std::array<TBitmap*, FramePieceCount> FFrame{};
    int FLastSkinWidth = 0;
    int FLastSkinHeight = 0;
    TNotifyEvent FSavedOnShow;
    // Set by the close button: the action its OnClose call chose, for the close sequence.
    bool FCloseDecided = false;
    TCloseAction FDecidedAction = caHide;
};
