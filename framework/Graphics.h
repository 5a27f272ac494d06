// Colours, fonts, pens, brushes and the canvas that draws with them on a DC.
// Each graphics object makes its GDI handle when first asked for it and
// drops it when a property changes; the canvas selects the current handles
// into its DC just before drawing and deselects them before they are freed.
#pragma once

#include "Component.h"
#include "GdiObjects.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

class TBitmap;

// 0x00BBGGRR; a value whose top byte is 0xFF names the system colour of its
// low byte and is resolved when painting.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor SystemColour(int index) noexcept
{
    return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF));
}
constexpr TColor clBtnFace = SystemColour(COLOR_BTNFACE);
constexpr TColor clBtnText = SystemColour(COLOR_BTNTEXT);
constexpr TColor clWindow = SystemColour(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColour(COLOR_WINDOWTEXT);
constexpr TColor clHighlight = SystemColour(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColour(COLOR_HIGHLIGHTTEXT);

constexpr bool IsSystemColour(TColor colour) noexcept
{
    return (static_cast<std::uint32_t>(colour) & 0xFF000000u) == 0xFF000000u;
}

// The plain RGB value of a colour, system colours looked up now.
COLORREF ColorToRGB(TColor colour) noexcept;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Common part of fonts, pens and brushes: OnChange runs before the handle
// is dropped, so a canvas can take it out of its DC first.
class TGraphicsObject : public TPersistent {
    VK_CLASS_INFO
public:
    std::function<void()> OnChange;

protected:
    void Changed();
    virtual void DropHandle() = 0;
};

// Published: Name, Height, Size, Charset, Color, Style.
class TFont : public TGraphicsObject {
    VK_CLASS_INFO
public:
    TFont();
    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // Points at the screen's resolution.
    int Size() const;
    void SetSize(int points);
    // True when the height came from a point size or from the system: it is
    // already in pixels of the screen, so scaling a form leaves it alone.
    // A height set in pixels is in the units of the form it belongs to.
    bool HeightFollowsScreen() const { return FHeightFollowsScreen; }
    // A height in pixels taken from one resolution (D) to another (M).
    void ScaleHeight(int m, int d);
    BYTE Charset() const { return FCharset; }
    void SetCharset(BYTE charset);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    // Text colour; not part of the GDI font.
    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }

    // Takes a font description from the system (caption font, menu font).
    void SetLogFont(const LOGFONTW& logFont);
    void Assign(const TFont& source);

    HFONT Handle() const;

    // Logical pixels per inch of the screen, the base of Size.
    static int PixelsPerInch();

private:
    void DropHandle() override;

    std::wstring FName;
    int FHeight;
    BYTE FCharset = DEFAULT_CHARSET;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    bool FHeightFollowsScreen = false;
    mutable gdi::Font FHandle;
};

// Published: Color, Width, Style.
class TPen : public TGraphicsObject {
    VK_CLASS_INFO
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    // PS_SOLID, PS_DASH, PS_NULL ...
    int Style() const { return FStyle; }
    void SetStyle(int style);
    void Assign(const TPen& source);

    HPEN Handle() const;

private:
    void DropHandle() override;

    TColor FColor = clBlack;
    int FWidth = 1;
    int FStyle = PS_SOLID;
    mutable gdi::Pen FHandle;
};

enum TBrushStyle { bsSolid, bsClear };

// Published: Color, Style.
class TBrush : public TGraphicsObject {
    VK_CLASS_INFO
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    void Assign(const TBrush& source);

    // The hollow stock brush for bsClear; never freed.
    HBRUSH Handle() const;

private:
    void DropHandle() override;

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable gdi::Brush FHandle;
};

// Draws on a DC it does not own. Whatever it selected into the DC is taken
// out again when the canvas is destroyed or bound to another DC.
class TCanvas {
public:
    explicit TCanvas(HDC dc = nullptr);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return FDC; }
    void SetHandle(HDC dc);

    TFont& Font() { return FFont; }
    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }

    // Fills with the brush; FrameRect draws a one-pixel brush border.
    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const POINT> points);

    // Text in the font and its colour, on the brush colour unless the brush is clear.
    void TextOut(int x, int y, const std::wstring& text);
    int DrawText(const std::wstring& text, RECT& rect, UINT format);
    SIZE TextExtent(const std::wstring& text);

    void BitBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                DWORD rop = SRCCOPY);
    // Scales with COLORONCOLOR: eliminated pixels are dropped, never blended.
    void StretchBlt(const RECT& target, HDC source, const RECT& sourceRect, DWORD rop = SRCCOPY);
    void CopyRect(const RECT& target, const TCanvas& source, const RECT& sourceRect);
    // A whole bitmap at (x, y), or scaled onto target.
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const RECT& target, const TBitmap& bitmap);
    // Outlined with the pen, filled with the brush.
    void Rectangle(const RECT& rect);

    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor colour);

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();
    void PrepareText();
    void Deselect();

    HDC FDC = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    // After the objects: destroyed first, so nothing is freed while selected.
    std::optional<gdi::Selection> FPenSelection;
    std::optional<gdi::Selection> FBrushSelection;
    std::optional<gdi::Selection> FFontSelection;
};
