// Image lists: equal-sized pictures in one platform image list, drawn by
// index (menu items, tool buttons, bitmap buttons, tabs).
#pragma once

#include "Bitmap.h"
#include "Component.h"
#include "Scaling.h"

#include <commctrl.h>

#include <memory>
#include <vector>

class TCustomImageList : public TComponent {
    VK_CLASS_INFO
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    // Changing the size empties the list.
    int Width() const noexcept { return FWidth; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    int Height() const noexcept { return FHeight; }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    int Count() const noexcept;
    HIMAGELIST Handle() const noexcept { return FHandle; }

    // Adds every Width-wide cell of the bitmap; the colour Mask is left
    // out (clNone: the pictures are opaque). Returns the first new index.
    int AddMasked(const TBitmap& Image, TColor Mask);
    void Clear();
    // Draws one picture with its top-left corner at (X, Y); a disabled
    // picture is drawn greyed. Indices out of range draw nothing.
    void Draw(HDC DC, int X, int Y, int Index, bool Enabled = true) const;

    // The resolution the pictures are sized for: 96 until the form that
    // owns the list scales it with itself. Scaling resamples the pictures
    // from the bitmaps they were added from (pixel for pixel when a mask
    // colour must stay exact, smoothly for opaque ones) into the same
    // platform list, so controls holding its handle keep it.
    int CurrentPPI() const noexcept { return FCurrentPPI; }
    void ScaleForPPI(int NewPPI);

    // Not drawn by the list itself; kept for owners that fill their
    // background before drawing a picture.
    TColor BkColor = clNone;

private:
    // A bitmap as added, with the picture size it was cut at.
    struct TSource {
        std::unique_ptr<TBitmap> Image;
        TColor Mask;
        int CellWidth;
        int CellHeight;
    };
    void CreateList();
    void AddToList(const TBitmap& Image, TColor Mask);

    int FWidth = 16;
    int FHeight = 16;
    int FCurrentPPI = kDesignPixelsPerInch;
    HIMAGELIST FHandle = nullptr;
    std::vector<TSource> FSources;
};

class TImageList : public TCustomImageList {
    VK_CLASS_INFO
public:
    using TCustomImageList::TCustomImageList;
};

// Points Field, a user's reference to an image list, at List, and moves the
// user's free notification from the old list to the new one: the user's
// Notification then hears when the list is freed, whoever owns it.
void LinkImageList(TComponent* User, TCustomImageList*& Field, TCustomImageList* List);
