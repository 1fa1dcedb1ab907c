// Lists of equally sized images over the common controls' image lists.
#pragma once

#include "classlib/gui/Graphics.h"

#include <memory>
#include <vector>

class TCustomImageList;

// A control's subscription to an image list's changes; it unsubscribes when it goes.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return FSender; }
    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* FSender = nullptr;
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size empties the list.
    void SetSize(int Width, int Height);
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }

    HIMAGELIST Handle() const;
    // Adopts List; with ShareImages the list is not destroyed here (the system image list).
    void SetHandle(HIMAGELIST List);
    bool ShareImages = false;
    bool Masked = true;
    TColor BkColor = clNone;
    TDrawingStyle DrawingStyle = dsNormal;

    int Count() const;
    // A strip of whole images is split into its images; the index of the first is returned.
    int Add(TBitmap& Image, TBitmap* Mask);
    int AddMasked(TBitmap& Image, TColor MaskColor);
    int AddIcon(TIcon& Icon);
    void Delete(int Index);
    void Clear();
    bool Overlay(int ImageIndex, int OverlayIndex);

    // Disabled images are drawn embossed in the button highlight and shadow colours.
    void Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled = true);
    void DrawOverlay(TCanvas& Canvas, int X, int Y, int Index, int OverlayIndex,
                     bool Enabled = true);
    void GetBitmap(int Index, TBitmap& Image) const;
    void GetIcon(int Index, TIcon& Icon) const;

    void RegisterChanges(TChangeLink* Link);
    void UnRegisterChanges(TChangeLink* Link);
    TNotifyEvent OnChange;

private:
    void Change();
    void CreateList() const;
    void DrawImage(HDC DC, int X, int Y, int Index, UINT Style, bool Enabled) const;

    int FWidth = 16;
    int FHeight = 16;
    mutable HIMAGELIST FHandle = nullptr;
    std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

// A picture that follows the pointer over every window and leaves no trace, through the
// system's image-list drag functions (which keep one such picture at a time). A derived class
// may stand in where no screen should be drawn on.
class TScreenDragImage {
public:
    TScreenDragImage();
    virtual ~TScreenDragImage();
    TScreenDragImage(const TScreenDragImage&) = delete;
    TScreenDragImage& operator=(const TScreenDragImage&) = delete;

    // Shows Picture (TransparentColor keyed out) with its point HotSpot at the screen's Pos.
    virtual void Begin(TBitmap& Picture, TColor TransparentColor, TPoint HotSpot, TPoint Pos);
    virtual void Move(TPoint Pos);
    // Hide and Show bracket painting under the picture.
    virtual void Hide();
    virtual void Show();
    virtual void End();
    bool Active() const { return FActive; }

private:
    std::unique_ptr<TImageList> FList;
    bool FActive = false;
    bool FVisible = false;
    TPoint FPos;
};
