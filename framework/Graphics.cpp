#include "Graphics.h"

#include "Bitmap.h"
#include "Scaling.h"

#include <climits>
#include <cwchar>

COLORREF ColorToRGB(TColor colour) noexcept
{
    if (IsSystemColour(colour))
        return GetSysColor(colour & 0xFF);
    return static_cast<COLORREF>(colour) & 0xFFFFFF;
}

const TClassInfo& TGraphicsObject::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TGraphicsObject", &TPersistent::StaticClass(), {});
    return Info;
}

const TClassInfo& TFont::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TFont>("TFont", TGraphicsObject::StaticClass())
        .WideText("Name", &TFont::Name, &TFont::SetName)
        .Integer("Height", &TFont::Height, &TFont::SetHeight)
        .Integer("Size", &TFont::Size, &TFont::SetSize)
        .Integer("Charset", &TFont::Charset, &TFont::SetCharset)
        .Integer("Color", &TFont::Color, &TFont::SetColor)
        .Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style, &TFont::SetStyle)
        .Build());
    return Info;
}

const TClassInfo& TPen::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TPen>("TPen", TGraphicsObject::StaticClass())
        .Integer("Color", &TPen::Color, &TPen::SetColor)
        .Integer("Width", &TPen::Width, &TPen::SetWidth)
        .Integer("Style", &TPen::Style, &TPen::SetStyle)
        .Build());
    return Info;
}

const TClassInfo& TBrush::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TBrush>("TBrush", TGraphicsObject::StaticClass())
        .Integer("Color", &TBrush::Color, &TBrush::SetColor)
        .Enum("Style", {"bsSolid", "bsClear"}, &TBrush::Style, &TBrush::SetStyle)
        .Build());
    return Info;
}

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange();
    DropHandle();
}

// --- TFont ---

TFont::TFont() : FName(L"Tahoma"), FHeight(-11) {}

int TFont::PixelsPerInch()
{
    static const int pixelsPerInch = [] {
        gdi::ClientDC screen(nullptr);
        const int value = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return value > 0 ? value : 96;
    }();
    return pixelsPerInch;
}

void TFont::SetName(const std::wstring& name)
{
    if (name == FName)
        return;
    Changed();
    FName = name;
}

void TFont::SetHeight(int height)
{
    if (height == FHeight && !FHeightFollowsScreen)
        return;
    Changed();
    FHeight = height;
    FHeightFollowsScreen = false;
}

void TFont::ScaleHeight(int m, int d)
{
    if (!FHeightFollowsScreen)
        SetHeight(ScaleValue(FHeight, m, d));
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch());
}

void TFont::SetSize(int points)
{
    const int height = -MulDiv(points, PixelsPerInch(), 72);
    if (height == FHeight && FHeightFollowsScreen)
        return;
    Changed();
    FHeight = height;
    FHeightFollowsScreen = true;
}

void TFont::SetCharset(BYTE charset)
{
    if (charset == FCharset)
        return;
    Changed();
    FCharset = charset;
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == FStyle)
        return;
    Changed();
    FStyle = style;
}

void TFont::SetLogFont(const LOGFONTW& logFont)
{
    Changed();
    FName.assign(logFont.lfFaceName, wcsnlen(logFont.lfFaceName, LF_FACESIZE));
    FHeight = logFont.lfHeight;
    FHeightFollowsScreen = true;
    FCharset = logFont.lfCharSet;
    FStyle = (logFont.lfWeight >= FW_BOLD ? fsBold : 0u) | (logFont.lfItalic ? fsItalic : 0u)
        | (logFont.lfUnderline ? fsUnderline : 0u) | (logFont.lfStrikeOut ? fsStrikeOut : 0u);
}

void TFont::Assign(const TFont& source)
{
    if (&source == this)
        return;
    Changed();
    FName = source.FName;
    FHeight = source.FHeight;
    FHeightFollowsScreen = source.FHeightFollowsScreen;
    FCharset = source.FCharset;
    FStyle = source.FStyle;
    FColor = source.FColor;
}

HFONT TFont::Handle() const
{
    if (!FHandle) {
        LOGFONTW logFont{};
        logFont.lfHeight = FHeight;
        logFont.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        logFont.lfItalic = (FStyle & fsItalic) ? TRUE : FALSE;
        logFont.lfUnderline = (FStyle & fsUnderline) ? TRUE : FALSE;
        logFont.lfStrikeOut = (FStyle & fsStrikeOut) ? TRUE : FALSE;
        logFont.lfCharSet = FCharset;
        logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
        logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        logFont.lfQuality = DEFAULT_QUALITY;
        logFont.lfPitchAndFamily = DEFAULT_PITCH;
        FName.copy(logFont.lfFaceName, LF_FACESIZE - 1);
        FHandle.Reset(CreateFontIndirectW(&logFont));
    }
    return FHandle.Get();
}

void TFont::DropHandle()
{
    FHandle.Reset();
}

// --- TPen ---

void TPen::SetColor(TColor color)
{
    if (color == FColor)
        return;
    Changed();
    FColor = color;
}

void TPen::SetWidth(int width)
{
    if (width == FWidth)
        return;
    Changed();
    FWidth = width;
}

void TPen::SetStyle(int style)
{
    if (style == FStyle)
        return;
    Changed();
    FStyle = style;
}

void TPen::Assign(const TPen& source)
{
    if (&source == this)
        return;
    Changed();
    FColor = source.FColor;
    FWidth = source.FWidth;
    FStyle = source.FStyle;
}

HPEN TPen::Handle() const
{
    if (!FHandle)
        FHandle.Reset(CreatePen(FStyle, FWidth, ColorToRGB(FColor)));
    return FHandle.Get();
}

void TPen::DropHandle()
{
    FHandle.Reset();
}

// --- TBrush ---

void TBrush::SetColor(TColor color)
{
    if (color == FColor && FStyle == bsSolid)
        return;
    Changed();
    FColor = color;
    FStyle = bsSolid;
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == FStyle)
        return;
    Changed();
    FStyle = style;
}

void TBrush::Assign(const TBrush& source)
{
    if (&source == this)
        return;
    Changed();
    FColor = source.FColor;
    FStyle = source.FStyle;
}

HBRUSH TBrush::Handle() const
{
    if (FStyle == bsClear)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (!FHandle)
        FHandle.Reset(CreateSolidBrush(ColorToRGB(FColor)));
    return FHandle.Get();
}

void TBrush::DropHandle()
{
    FHandle.Reset();
}

// --- TCanvas ---

TCanvas::TCanvas(HDC dc) : FDC(dc)
{
    FFont.OnChange = [this] { FFontSelection.reset(); };
    FPen.OnChange = [this] { FPenSelection.reset(); };
    FBrush.OnChange = [this] { FBrushSelection.reset(); };
}

TCanvas::~TCanvas()
{
    Deselect();
}

void TCanvas::Deselect()
{
    FFontSelection.reset();
    FPenSelection.reset();
    FBrushSelection.reset();
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == FDC)
        return;
    Deselect();
    FDC = dc;
}

void TCanvas::RequirePen()
{
    if (!FPenSelection)
        FPenSelection.emplace(FDC, FPen.Handle());
}

void TCanvas::RequireBrush()
{
    if (!FBrushSelection)
        FBrushSelection.emplace(FDC, FBrush.Handle());
}

void TCanvas::RequireFont()
{
    if (!FFontSelection)
        FFontSelection.emplace(FDC, FFont.Handle());
}

void TCanvas::PrepareText()
{
    RequireFont();
    SetTextColor(FDC, ColorToRGB(FFont.Color()));
    if (FBrush.Style() == bsClear) {
        SetBkMode(FDC, TRANSPARENT);
    } else {
        SetBkMode(FDC, OPAQUE);
        SetBkColor(FDC, ColorToRGB(FBrush.Color()));
    }
}

void TCanvas::FillRect(const RECT& rect)
{
    if (FBrush.Style() != bsClear)
        ::FillRect(FDC, &rect, FBrush.Handle());
}

void TCanvas::FrameRect(const RECT& rect)
{
    if (FBrush.Style() != bsClear)
        ::FrameRect(FDC, &rect, FBrush.Handle());
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(FDC, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    RequirePen();
    ::LineTo(FDC, x, y);
}

void TCanvas::Polyline(std::span<const POINT> points)
{
    if (points.size() < 2 || points.size() > static_cast<std::size_t>(INT_MAX))
        return;
    RequirePen();
    ::Polyline(FDC, points.data(), static_cast<int>(points.size()));
}

void TCanvas::TextOut(int x, int y, const std::wstring& text)
{
    PrepareText();
    ExtTextOutW(FDC, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(const std::wstring& text, RECT& rect, UINT format)
{
    PrepareText();
    return ::DrawTextW(FDC, text.data(), static_cast<int>(text.size()), &rect, format);
}

SIZE TCanvas::TextExtent(const std::wstring& text)
{
    RequireFont();
    SIZE size{};
    GetTextExtentPoint32W(FDC, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::BitBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                     DWORD rop)
{
    ::BitBlt(FDC, x, y, width, height, source, sourceX, sourceY, rop);
}

void TCanvas::StretchBlt(const RECT& target, HDC source, const RECT& sourceRect, DWORD rop)
{
    SetStretchBltMode(FDC, COLORONCOLOR);
    ::StretchBlt(FDC, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, source, sourceRect.left, sourceRect.top,
                 sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, rop);
}

void TCanvas::CopyRect(const RECT& target, const TCanvas& source, const RECT& sourceRect)
{
    StretchBlt(target, source.Handle(), sourceRect);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap)
{
    BitBlt(x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0);
}

void TCanvas::StretchDraw(const RECT& target, const TBitmap& bitmap)
{
    StretchBlt(target, bitmap.Canvas().Handle(), {0, 0, bitmap.Width(), bitmap.Height()});
}

void TCanvas::Rectangle(const RECT& rect)
{
    RequirePen();
    RequireBrush();
    ::Rectangle(FDC, rect.left, rect.top, rect.right, rect.bottom);
}

TColor TCanvas::Pixels(int x, int y) const
{
    const COLORREF colour = GetPixel(FDC, x, y);
    return colour == CLR_INVALID ? clNone : static_cast<TColor>(colour);
}

void TCanvas::SetPixels(int x, int y, TColor colour)
{
    SetPixelV(FDC, x, y, ColorToRGB(colour));
}
