// Lists of equally sized images over the common controls' image lists.
#pragma once

#include "classlib/gui/Graphics.h"

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
