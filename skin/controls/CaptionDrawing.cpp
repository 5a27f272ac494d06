#include "CaptionDrawing.h"

#include "skin/data/ImgUtil.h"

#include <algorithm>

namespace {

constexpr UINT kAlignmentBits = DT_LEFT | DT_CENTER | DT_RIGHT;

// Restores the text colour, background mode and brush it changed.
class TTextState {
public:
    TTextState(HDC dc, bool enabled)
        : FDc(dc), FMode(SetBkMode(dc, TRANSPARENT)),
          FBrush(static_cast<HBRUSH>(SelectObject(dc, GetStockObject(NULL_BRUSH)))),
          FColour(enabled ? GetTextColor(dc) : SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW)))
    {
    }
    ~TTextState()
    {
        SetTextColor(FDc, FColour);
        SelectObject(FDc, FBrush);
        SetBkMode(FDc, FMode);
    }
    TTextState(const TTextState&) = delete;
    TTextState& operator=(const TTextState&) = delete;

private:
    HDC FDc;
    int FMode;
    HBRUSH FBrush;
    COLORREF FColour;
};

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

} // namespace

void DrawImageAndCaption(HDC dc, const RECT& rect, UINT alignment, const std::wstring& text, int imageIndex,
                         HIMAGELIST images, TCaptionStyle style)
{
    int imageWidth = 0;
    int imageHeight = 0;
    if (images)
        ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    const bool showImage = imageIndex != -1 && images && imageWidth < Width(rect);
    // The image and a gap of 2 before the text.
    const int imageSpan = showImage ? imageWidth + 2 : 0;

    const UINT textFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_END_ELLIPSIS | (style.RightToLeft ? DT_RTLREADING : 0);
    RECT measure{0, 0, std::max(0, Width(rect) - imageSpan), Height(rect)};
    if (!text.empty())
        DrawTextWide(dc, text, measure, DT_CALCRECT | textFormat);
    else
        measure.right = 0;
    const int textWidth = std::min(Width(measure), std::max(0, Width(rect) - imageSpan));
    const int textHeight = Height(measure);

    int x = 3;
    if (alignment & DT_CENTER)
        x = (Width(rect) - imageSpan - textWidth) / 2;
    else if (alignment & DT_RIGHT)
        x = Width(rect) - imageSpan - textWidth - 2;
    if (x < 2)
        x = 1;

    if (showImage) {
        // Image lists of headers and tabs hold square glyphs: the width centres it.
        const int top = rect.top + (Height(rect) - imageWidth) / 2;
        ImageList_Draw(images, imageIndex, dc, rect.left + x, top, ILD_TRANSPARENT);
    }
    if (text.empty())
        return;
    const TTextState state(dc, style.Enabled);
    RECT box{rect.left + x + imageSpan, rect.top + (Height(rect) - textHeight) / 2, 0, 0};
    box.right = std::min<LONG>(box.left + textWidth, rect.right);
    box.bottom = box.top + textHeight;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    DrawTextWide(dc, text, box, textFormat | (alignment & kAlignmentBits));
    RestoreDC(dc, saved);
}

UINT EllipsisFor(const std::wstring& text)
{
    // Path ellipsis alone puts a text without a backslash behind a leading
    // ellipsis and still cuts its end; the end ellipsis catches what the
    // file name part leaves too wide.
    return DT_END_ELLIPSIS | (text.find(L'\\') != std::wstring::npos ? DT_PATH_ELLIPSIS : 0);
}

void DrawCaptionText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::wstring& text,
                     bool rightToLeft)
{
    const TTextState state(dc, enabled);
    const UINT align = alignment & kAlignmentBits;
    const UINT format = DT_EXPANDTABS | align | EllipsisFor(text) | (rightToLeft ? DT_RTLREADING : 0);
    RECT box = rect;
    DrawTextWide(dc, text, box, DT_CALCRECT | DT_NOCLIP | format);
    // A text wider than rect takes all of it, to end in its ellipsis.
    if ((align & DT_CENTER) && Width(box) < Width(rect)) {
        OffsetRect(&box, (Width(rect) - Width(box)) / 2, 0);
    } else {
        box.left = rect.left;
        box.right = rect.right;
    }
    OffsetRect(&box, 0, (Height(rect) - Height(box)) / 2 - 1);
    DrawTextWide(dc, text, box, format);
}
