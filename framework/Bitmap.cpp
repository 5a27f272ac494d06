#include "Bitmap.h"

#include "base/BmpImage.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

const TClassInfo& TBitmap::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TBitmap>("TBitmap", TPersistent::StaticClass())
        .Integer("Width", &TBitmap::Width, &TBitmap::SetWidth)
        .Integer("Height", &TBitmap::Height, &TBitmap::SetHeight)
        .Bool("Empty", &TBitmap::Empty)
        .Build());
    return Info;
}

int BitsPerPixel(TPixelFormat format) noexcept
{
    static constexpr int bits[] = {1, 4, 8, 16, 24, 32};
    return bits[format];
}

namespace {

TPixelFormat FormatOfBits(int bitCount)
{
    switch (bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

// Palette of a new bitmap with few colours: black and white, the 16 VGA
// colours, or a 6 × 6 × 6 colour cube with greys.
std::vector<RGBQUAD> DefaultPalette(TPixelFormat format)
{
    auto quad = [](int red, int green, int blue) {
        return RGBQUAD{static_cast<BYTE>(blue), static_cast<BYTE>(green), static_cast<BYTE>(red), 0};
    };
    std::vector<RGBQUAD> palette;
    switch (format) {
    case pf1bit:
        palette = {quad(0, 0, 0), quad(255, 255, 255)};
        break;
    case pf4bit:
        for (COLORREF colour : {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
                                0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF,
                                0xFFFF00, 0xFFFFFF})
            palette.push_back(quad(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
        break;
    case pf8bit:
        for (int i = 0; i < 216; ++i)
            palette.push_back(quad(i / 36 * 51, i / 6 % 6 * 51, i % 6 * 51));
        for (int i = 0; i < 40; ++i)
            palette.push_back(quad(i * 255 / 39, i * 255 / 39, i * 255 / 39));
        break;
    default:
        break;
    }
    return palette;
}

} // namespace

struct TBitmap::TDib {
    gdi::Bitmap Handle;
    std::uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
};

TBitmap::TBitmap(int width, int height, TPixelFormat format) : FFormat(format)
{
    FPalette = DefaultPalette(format);
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

TBitmap::TDib TBitmap::CreateDib(int width, int height, TPixelFormat format,
                                 const std::vector<RGBQUAD>& palette)
{
    TDib dib;
    if (width <= 0 || height <= 0)
        return dib;
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colours[256];
    } info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = -height; // top-down: row 0 is the top row
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(BitsPerPixel(format));
    info.Header.biCompression = BI_RGB;
    info.Header.biClrUsed = static_cast<DWORD>(palette.size());
    std::copy(palette.begin(), palette.end(), info.Colours);
    void* bits = nullptr;
    dib.Handle.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0));
    if (!dib.Handle)
        throw EInvalidGraphic(L"Out of system resources: cannot create a " + std::to_wstring(width)
                              + L" x " + std::to_wstring(height) + L" bitmap");
    dib.Bits = static_cast<std::uint8_t*>(bits);
    dib.Width = width;
    dib.Height = height;
    return dib;
}

void TBitmap::Adopt(TDib&& dib, TPixelFormat format, std::vector<RGBQUAD> palette)
{
    // Out of the DC before it is freed: a selected bitmap cannot be deleted.
    FSelection.reset();
    FHandle = std::move(dib.Handle);
    FBits = dib.Bits;
    FFormat = format;
    FPalette = std::move(palette);
    FWidth = dib.Width;
    FHeight = dib.Height;
    if (FDC && FHandle)
        FSelection.emplace(FDC->Get(), FHandle.Get());
}

HDC TBitmap::DC() const
{
    if (!FDC) {
        FDC = std::make_unique<gdi::MemoryDC>();
        if (FHandle)
            FSelection.emplace(FDC->Get(), FHandle.Get());
    }
    return FDC->Get();
}

TCanvas& TBitmap::Canvas() const
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>(DC());
    return *FCanvas;
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight)
        return;
    if (FPalette.empty())
        FPalette = DefaultPalette(FFormat);
    TDib dib = CreateDib(width, height, FFormat, FPalette);
    if (dib.Handle && FHandle) {
        gdi::MemoryDC target;
        gdi::Selection selected(target.Get(), dib.Handle.Get());
        ::BitBlt(target.Get(), 0, 0, std::min(width, FWidth), std::min(height, FHeight), DC(), 0, 0, SRCCOPY);
    }
    Adopt(std::move(dib), FFormat, FPalette);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == FFormat)
        return;
    std::vector<RGBQUAD> palette = DefaultPalette(format);
    TDib dib = CreateDib(FWidth, FHeight, format, palette);
    if (dib.Handle) {
        gdi::MemoryDC target;
        gdi::Selection selected(target.Get(), dib.Handle.Get());
        ::BitBlt(target.Get(), 0, 0, FWidth, FHeight, DC(), 0, 0, SRCCOPY);
    }
    Adopt(std::move(dib), format, std::move(palette));
}

std::size_t TBitmap::RowBytes() const noexcept
{
    return imgcore::DibStride(FWidth, BitsPerPixel(FFormat));
}

std::uint8_t* TBitmap::ScanLine(int y)
{
    return const_cast<std::uint8_t*>(std::as_const(*this).ScanLine(y));
}

const std::uint8_t* TBitmap::ScanLine(int y) const
{
    if (y < 0 || y >= FHeight)
        throw std::out_of_range("scan line " + std::to_string(y) + " outside a bitmap of height "
                                + std::to_string(FHeight));
    GdiFlush();
    return FBits + RowBytes() * static_cast<std::size_t>(y);
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentColor)
        return *FTransparentColor;
    if (Empty())
        return clNone;
    return Canvas().Pixels(0, FHeight - 1);
}

void TBitmap::LoadImage(const imgcore::TBmpImage& image)
{
    std::vector<RGBQUAD> palette;
    for (const imgcore::TPaletteEntry& entry : image.Palette)
        palette.push_back({entry.Blue, entry.Green, entry.Red, 0});
    const TPixelFormat format = FormatOfBits(image.BitCount);
    TDib dib = CreateDib(image.Width, image.Height, format, palette);
    std::memcpy(dib.Bits, image.Pixels.data(), image.Pixels.size());
    Adopt(std::move(dib), format, std::move(palette));
}

void TBitmap::LoadFromBmpBytes(std::span<const std::uint8_t> bytes)
{
    try {
        LoadImage(imgcore::DecodeBmp(bytes));
    } catch (const imgcore::EBmpFormat& error) {
        throw EInvalidGraphic(Utf8ToWide(error.what()));
    }
}

void TBitmap::LoadFromFile(const std::wstring& fileName)
{
    std::ifstream file(std::filesystem::path(fileName), std::ios::binary | std::ios::ate);
    const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    std::vector<std::uint8_t> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
    if (size < 0 || !file.seekg(0)
        || !file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw EInvalidGraphic(L"Cannot read the picture file " + fileName);
    try {
        LoadImage(imgcore::DecodeBmp(bytes));
    } catch (const imgcore::EBmpFormat& error) {
        throw EInvalidGraphic(fileName + L": " + Utf8ToWide(error.what()));
    }
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const wchar_t* name)
{
    LoadImage(BitmapResourceImage(instance, name));
}

imgcore::TBmpImage BitmapResourceImage(HINSTANCE instance, const wchar_t* name)
{
    HRSRC resource = FindResourceW(instance, name, MAKEINTRESOURCEW(2)); // RT_BITMAP
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw EInvalidGraphic(L"Bitmap resource not found");
    try {
        return imgcore::DecodePackedDib({static_cast<const std::uint8_t*>(data), SizeofResource(instance, resource)});
    } catch (const imgcore::EBmpFormat& error) {
        throw EInvalidGraphic(L"Bitmap resource: " + Utf8ToWide(error.what()));
    }
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    TDib dib = CreateDib(source.FWidth, source.FHeight, source.FFormat, source.FPalette);
    if (dib.Handle) {
        GdiFlush();
        std::memcpy(dib.Bits, source.FBits, source.RowBytes() * static_cast<std::size_t>(source.FHeight));
    }
    Adopt(std::move(dib), source.FFormat, source.FPalette);
    FTransparentColor = source.FTransparentColor;
}

std::unique_ptr<TBitmap> TBitmap::Clone() const
{
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

std::unique_ptr<TBitmap> ResampleBitmap(const TBitmap& Source, int Width, int Height, TResampling Mode)
{
    std::unique_ptr<TBitmap> From = Source.Clone();
    From->SetPixelFormat(pf24bit);
    auto To = std::make_unique<TBitmap>(Width, Height, pf24bit);
    Resample({From->ScanLine(0), From->Width(), From->Height(), From->RowBytes()},
             {To->ScanLine(0), To->Width(), To->Height(), To->RowBytes()}, Mode);
    To->SetTransparentColor(Source.TransparentColor());
    return To;
}
