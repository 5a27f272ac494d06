// Caption drawing shared by the skinned controls that put a text (and maybe
// an image-list glyph) on a skin face they drew first: headers, status bar
// panels, tabs and the skinned menu bar. Both draw on a transparent
// background, so the face shows through, and leave the device context's
// text colour, background mode and brush as they found them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

struct TCaptionStyle {
    // Disabled text takes the button-shadow colour.
    bool Enabled = true;
    // The control reads right to left.
    bool RightToLeft = false;
};

// An image and a (word-wrapped, end-ellipsised) text side by side in rect,
// placed by alignment (DT_LEFT, DT_CENTER or DT_RIGHT) and vertically
// centred. The image shows only when imageIndex is not -1, images exists and
// the image is narrower than rect; the text is measured in what the image
// leaves, so a long text ends in an ellipsis instead of being cut.
void DrawImageAndCaption(HDC dc, const RECT& rect, UINT alignment, const std::wstring& text, int imageIndex,
                         HIMAGELIST images, TCaptionStyle style = {});

// The ellipsis a one-line text gets when it is wider than its place: a text
// naming a path keeps what follows its last backslash (the file name) and
// loses the middle, any other text loses its end.
UINT EllipsisFor(const std::wstring& text);

// One text in rect: centred horizontally for DT_CENTER, else laid to the
// edge alignment names; vertically centred one pixel high, as the skin's
// faces are drawn. Tabs are expanded; a text wider than rect ends in an
// ellipsis (EllipsisFor).
void DrawCaptionText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::wstring& text,
                     bool rightToLeft = false);
