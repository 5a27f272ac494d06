// The controls that draw their own content, which the skin frames,
// decorates or completes: progress bars (the whole bar from the skin),
// combo boxes (the sunken face and the drop button) and edits (a thin
// frame around the text; the text itself stays the control's).
#pragma once

#include "framework/Bitmap.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinScrollbar.h"

#include <windows.h>
#include <commctrl.h>

#include <string_view>

// The frame of a bordered edit-like window: a line in the skin's border
// colour around the window and whiteLines white lines inside it. The
// client, where the window shows its text, is never touched. False (and
// nothing drawn) for a window without a border.
bool DrawEditFrame(HDC dc, const RECT& rect, HWND window, const TSkinData& skin, int whiteLines);

// An up-down control's class, or a spin button's of another family.
bool IsUpDownClass(std::wstring_view className);
// Skins the first up-down inside window (an edit's or a picker's spin
// buttons) unless it is skinned already; the list holds the object.
void AttachEmbeddedUpDown(HWND window, TSkinData* skinData, TSkinControlList* form);

// The filled length of a bar `length` long at position within lower..upper:
// nothing while upper is not above 0 or the position is not above 0.
int ProgressFill(int length, int position, int lower, int upper) noexcept;

// Progress bars: frame 1 of the skin's Progress image over the bar, frame 2
// over the filled part; a vertical bar is drawn lying and turned a quarter,
// so the skin needs horizontal images only. The chunked style (Progress
// Style 1 with a Progress.Chunk image) repeats or stretches the chunk over
// the filled length. Without a Progress image the bar paints itself.
class TSkinProgress : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinProgress(TComponent* AOwner);

protected:
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    void DrawFramed(HDC work, int width, int height, int filled);
    void DrawChunked(HDC work, int width, int height, int filled);

    TBitmap FWork;
};

// Combo boxes: the sunken face with the drop button from the skin (one
// composed face when the skin composed ComboButton with SunkEdge), the
// button on the left with a left-hand layout; the button turns hot only
// under the mouse, pressed while held. The edit part and the list keep
// their own painting.
class TSkinComBox : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinComBox(TComponent* AOwner);

    // An extended combo box (an image beside each item): framed as an edit
    // is, with the skin's arrow cell on its button. Before attaching.
    void SetExtended() noexcept { FExtended = true; }
    bool Extended() const noexcept { return FExtended; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    // Where the parts of a box of rect go, read from the box itself: one
    // answer for the paint and for the mouse. Hidden when the skin has no
    // button image or the box shows no button.
    struct TComboParts {
        bool Hidden = false;
        TComboLook Look = TComboLook::Separate;
        bool ButtonLeft = false;
        std::optional<RECT> Item; // the edit part or the chosen item
        TComboLayout Layout;
    };
    TComboParts ReadParts(const RECT& rect) const;
    int FaceFrame() const;
    // An item of an owner-drawn combo box, in the skin's colours.
    void DrawItem(const DRAWITEMSTRUCT& item);
    // The combo box window itself, or the one inside an extended combo.
    HWND ComboWindow() const;
    // A rectangle in window's client, in this window's own coordinates.
    RECT WindowRectOf(HWND window, RECT rect) const;
    void DrawExtended(HDC dc, const RECT& rect, int frame, const TComboLayout& layout);
    void DrawThin(HDC dc, const RECT& rect, int frame, const TComboLayout& layout);
    // The sunken edge over everything, the button's glyph in its place.
    void DrawSeparate(HDC dc, const RECT& rect, int frame, const TComboParts& parts);

    bool FExtended = false;
};

// The list of a simple combo box: its bars covered as any scrolled
// window's, without a frame of ours (the combo box has its own edge).
class TSkinScrollbarH : public TSkinScrollbar {
    VK_CLASS_INFO
public:
    explicit TSkinScrollbarH(TComponent* AOwner);
};

// The bar of a combo box's list: the drop-down list's (a pop-up) or a
// simple combo box's (a child), attached to the list for the list's life
// and held by form; nothing when the combo has no list or it is skinned.
void AttachComboListBar(HWND combo, TSkinData* skinData, TSkinControlList* form);

// Up-down buttons: two halves (top and bottom, or left and right with
// UDS_HORZ), each the UpDown.Vert or UpDown.Horz face of its arrow (frames
// 1 to 4 the first arrow, 5 to 8 the second) with the arrow glyph centred;
// pressed while the mouse holds it over that half; a plain face with a
// drawn arrow when the skin has no such image.
class TSkinUpDown : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinUpDown(TComponent* AOwner);

protected:
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    // The edit the buttons sit in, in window coordinates, if they do.
    std::optional<TRectI> ParentEdit() const;
    void DrawHalf(HDC work, const RECT& half, int arrow, int frame, bool horizontal);
    // The pointer of a mouse message in window coordinates, where the
    // halves are laid out.
    TPointI WindowPoint(const TMessage& message) const;

    TBitmap FWork;
    // Where the pointer last was over the control (the control holds the
    // capture while pressed), so a paint knows which half it holds down.
    TPointI FPointer;
};

// Track bars: the channel and the thumb drawn from the skin through the
// control's own custom drawing (the tick marks stay the control's): the
// Track image (TRACKVERT for a vertical bar) along the channel at its own
// thickness, frame 2 of the Trackbar.ThumbHorz or ThumbVert image stretched
// over the thumb.
class TSkinTrackBar : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinTrackBar(TComponent* AOwner);

protected:
    bool BeforeMessage(TMessage& message) override;

private:
    LRESULT CustomDraw(const NMCUSTOMDRAW& draw);
    void DrawChannel(HDC dc);
    void DrawThumb(HDC dc);
};

// Edits and memos with a border: a line in the skin's border colour around
// the window and white lines inside it; the client is the control's. Spin
// buttons inside the edit are skinned as up-downs.
class TSkinEdit : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinEdit(TComponent* AOwner);

    // WM_SKINPAINTCLIENT with this key asks for the client alone painted
    // into the DC in wParam; the edit answers the key.
    static constexpr LPARAM kPaintClientKey = 16802;

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
};
