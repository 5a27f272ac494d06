// Image lists: equal-sized pictures in one platform image list, drawn by
// index (menu items, tool buttons, bitmap buttons, tabs).
#pragma once

#include "Bitmap.h"
#include "Component.h"

#include <commctrl.h>

#include <vector>

class TCustomImageList;

// A user's reference to an image list that turns nullptr when the list is
// freed, whoever owns the list. Not copyable: the list knows where it is.
class TImageListRef {
public:
    TImageListRef() = default;
    ~TImageListRef() { Set(nullptr); }
    TImageListRef(const TImageListRef&) = delete;
    TImageListRef& operator=(const TImageListRef&) = delete;

    TCustomImageList* Get() const noexcept { return FList; }
    void Set(TCustomImageList* List);
    TCustomImageList* operator->() const noexcept { return FList; }
    explicit operator bool() const noexcept { return FList != nullptr; }

private:
    friend class TCustomImageList;
    TCustomImageList* FList = nullptr;
};

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

    // Not drawn by the list itself; kept for owners that fill their
    // background before drawing a picture.
    TColor BkColor = clNone;

private:
    friend class TImageListRef;
    void CreateList();

    std::vector<TImageListRef*> FRefs;
    int FWidth = 16;
    int FHeight = 16;
    HIMAGELIST FHandle = nullptr;
};

class TImageList : public TCustomImageList {
    VK_CLASS_INFO
public:
    using TCustomImageList::TCustomImageList;
};
