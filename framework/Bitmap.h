// TBitmap: a device-independent bitmap (DIB section) with direct row access
// and a canvas. Skin images are read from BMP bytes that anyone may have
// written; bad files are refused with EInvalidGraphic and leave the bitmap
// as it was.
#pragma once

#include "Component.h"
#include "GdiObjects.h"
#include "Graphics.h"
#include "Scaling.h"
#include "SysUtils.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace imgcore {
struct TBmpImage;
}

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };

int BitsPerPixel(TPixelFormat format) noexcept;

class TBitmap : public TPersistent {
    VK_CLASS_INFO
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    ~TBitmap() override;

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    // Keeps the pixels that still fit at the top-left; new ones are black.
    void SetSize(int width, int height);
    bool Empty() const noexcept { return !FHandle; }

    TPixelFormat PixelFormat() const noexcept { return FFormat; }
    // Converts the pixels (GDI maps colours onto a palette when fewer bits).
    void SetPixelFormat(TPixelFormat format);

    // Row y, top row 0, RowBytes() long; GDI drawing is flushed first.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    std::size_t RowBytes() const noexcept;

    // The bitmap stays selected into this canvas's memory DC; copy from it
    // through Canvas().Handle(), never by selecting Handle() elsewhere.
    TCanvas& Canvas() const;
    HBITMAP Handle() const noexcept { return FHandle.Get(); }

    // The colour drawn see-through; the bottom-left pixel unless one was set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor colour) { FTransparentColor = colour; }

    // A whole .bmp file of 1, 4, 8, 16, 24 or 32 bits per pixel.
    void LoadFromBmpBytes(std::span<const std::uint8_t> bytes);
    void LoadFromFile(const std::wstring& fileName);
    // A bitmap resource of the module (RT_BITMAP).
    void LoadFromResourceName(HINSTANCE instance, const wchar_t* name);
    // An image already decoded: its size, bit depth, palette and pixels.
    void LoadImage(const imgcore::TBmpImage& image);

    // A deep copy of size, format, palette, pixels and transparent colour.
    void Assign(const TBitmap& source);
    std::unique_ptr<TBitmap> Clone() const;

private:
    struct TDib;
    static TDib CreateDib(int width, int height, TPixelFormat format,
                          const std::vector<RGBQUAD>& palette);
    void Adopt(TDib&& dib, TPixelFormat format, std::vector<RGBQUAD> palette);
    HDC DC() const;

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FFormat = pf24bit;
    std::vector<RGBQUAD> FPalette;
    std::optional<TColor> FTransparentColor;
    gdi::Bitmap FHandle;
    std::uint8_t* FBits = nullptr;
    // Made on first use; destroyed before the bitmap they hold.
    mutable std::unique_ptr<gdi::MemoryDC> FDC;
    mutable std::optional<gdi::Selection> FSelection;
    mutable std::unique_ptr<TCanvas> FCanvas;
};

// A bitmap resource of the module (RT_BITMAP), decoded. Throws EInvalidGraphic.
imgcore::TBmpImage BitmapResourceImage(HINSTANCE instance, const wchar_t* name);

// A 24-bit copy of Source at Width x Height (each at least 1), its
// see-through colour kept; Source must not be empty.
std::unique_ptr<TBitmap> ResampleBitmap(const TBitmap& Source, int Width, int Height, TResampling Mode);
