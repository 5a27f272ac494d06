#include "SkinFixtures.h"

#include "skin/data/LZHPack.h"
#include "skin/data/SkinRead.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <utility>

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

constexpr char kDescription[] =
    "[TitlebarSkin]\r\nSkinName=Bench\r\n"
    "[Personality]\r\nLeft=left.bmp\r\nRight=right.bmp\r\nTop=top.bmp\r\nBottom=bottom.bmp\r\n"
    "LeftFrame=2\r\nTopTopHeight=40\r\nTopBotHeight=40\r\nActiveTextR=255\r\nActiveTextG=255\r\n"
    "ActiveTextB=255\r\nmenuBar=menubar.bmp\r\n"
    "[Colours]\r\nButtonFace=212,208,200\r\nHilight=49 106 197\r\n"
    "[Button0]\r\nButtonImage=close.bmp\r\nAction=0\r\nAlign=1\r\nXcoord=24\r\nYcoord=6\r\n"
    "[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
    "LeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\n";

} // namespace

std::vector<std::uint8_t> RandomBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

std::vector<std::uint8_t> TextBytes(std::size_t size)
{
    static constexpr const char* kWords[] = {"skin ", "frame ", "button ", "caption ", "menu ",
                                             "the ", "of ", "border\r\n", "Progress.bmp ", "= "};
    std::mt19937 random(7);
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < size) {
        for (const char* c = kWords[random() % 10]; *c != 0 && bytes.size() < size; ++c)
            bytes.push_back(static_cast<std::uint8_t>(*c));
    }
    return bytes;
}

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> SkinLikeBitmap(int width, int height, std::uint32_t seed)
{
    std::mt19937 random(seed);
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> bmp{'B', 'M'};
    PutU32(bmp, static_cast<std::uint32_t>(54 + stride * height));
    PutU32(bmp, 0);
    PutU32(bmp, 54);
    PutU32(bmp, 40);
    PutU32(bmp, static_cast<std::uint32_t>(width));
    PutU32(bmp, static_cast<std::uint32_t>(height));
    PutU16(bmp, 1);
    PutU16(bmp, 24);
    for (int i = 0; i < 6; ++i)
        PutU32(bmp, 0);
    // State frames side by side: a vertical gradient framed by a dark edge,
    // magenta corners, a glyph in the middle, and a little anti-aliasing noise.
    const int frames = 1 + static_cast<int>(random() % 5);
    const int frameWidth = std::max(1, width / frames);
    const int corner = 1 + static_cast<int>(random() % 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int fx = x % frameWidth;
            const int frame = x / frameWidth;
            const bool edge = fx == 0 || fx == frameWidth - 1 || y == 0 || y == height - 1;
            const bool key = (fx < corner || fx >= frameWidth - corner) && (y < corner || y >= height - corner);
            const bool glyph = std::abs(fx - frameWidth / 2) + std::abs(y - height / 2) == height / 4;
            auto blue = static_cast<std::uint8_t>(120 + (y * 100) / height + frame * 12);
            auto green = static_cast<std::uint8_t>(blue - 30);
            auto red = static_cast<std::uint8_t>(blue - 60);
            if (edge || glyph)
                blue = green = red = static_cast<std::uint8_t>(40 + frame * 10);
            if (random() % 24 == 0)
                red = static_cast<std::uint8_t>(red + random() % 8);
            bmp.push_back(key ? 0xFF : blue);
            bmp.push_back(key ? 0x00 : green);
            bmp.push_back(key ? 0xFF : red);
        }
        bmp.resize(bmp.size() + static_cast<std::size_t>(stride - width * 3), 0);
    }
    return bmp;
}

std::vector<TSkinArchiveEntry> SkinLikeEntries()
{
    static constexpr const char* kNames[] = {
        "left.bmp", "right.bmp", "top.bmp", "bottom.bmp", "menubar.bmp", "close.bmp", "max.bmp",
        "min.bmp", "restore.bmp", "help.bmp", "button.bmp", "check.bmp", "radio.bmp", "progress.bmp",
        "chunk.bmp", "groupbox.bmp", "tabs.bmp", "tabborder.bmp", "statusbar.bmp", "pane.bmp",
        "toolbar.bmp", "combo.bmp", "sunk.bmp", "extra.bmp", "header.bmp", "menuitem.bmp",
        "menubg.bmp", "scrollbar.bmp", "hscroll.bmp", "vscroll.bmp", "hthumb.bmp", "vthumb.bmp",
        "updown.bmp", "mdi.bmp"};
    std::vector<TSkinArchiveEntry> entries;
    std::uint32_t seed = 1;
    for (const char* name : kNames) {
        const int width = 30 + static_cast<int>(seed * 37 % 72);
        const int height = 16 + static_cast<int>(seed * 11 % 30);
        entries.push_back({name, SkinLikeBitmap(width, height, seed)});
        ++seed;
    }
    entries.push_back({"skin.ini", Bytes(kDescription)});
    return entries;
}

std::vector<std::uint8_t> MixedBytes(std::size_t size)
{
    std::vector<std::uint8_t> bytes;
    std::uint32_t turn = 0;
    while (bytes.size() < size) {
        std::vector<std::uint8_t> part;
        switch (turn % 4) {
        case 0:
            part = TextBytes(64 * 1024);
            break;
        case 1:
            part = SkinLikeBitmap(200, 80, turn);
            break;
        case 2:
            part.assign(16 * 1024, static_cast<std::uint8_t>(turn));
            break;
        default:
            part = RandomBytes(32 * 1024, turn);
            break;
        }
        ++turn;
        part.resize(std::min(part.size(), size - bytes.size()));
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

TRawArchive RawArchive(std::string names, std::vector<std::int32_t> sizes, std::vector<std::uint8_t> data)
{
    TRawArchive raw;
    raw.names = std::move(names);
    raw.sizes = std::move(sizes);
    raw.data = std::move(data);
    return raw;
}

std::vector<std::uint8_t> TRawArchive::Build() const
{
    std::vector<std::uint8_t> archive;
    PutU32(archive, version);
    PutU32(archive, static_cast<std::uint32_t>(nameListLength.value_or(static_cast<std::int32_t>(names.size()))));
    const int block = blockSize >= 0 ? blockSize : SkinVersionBlockSize(version);
    archive.resize(kSkinHeaderSize + static_cast<std::size_t>(std::max(block, 0)), blockFill);
    archive.insert(archive.end(), names.begin(), names.end());
    for (const std::int32_t size : sizes)
        PutU32(archive, static_cast<std::uint32_t>(size));
    archive.insert(archive.end(), data.begin(), data.end());
    return archive;
}

std::vector<std::uint8_t> SkinFileOf(const std::vector<std::uint8_t>& archive, std::int64_t declaredSize)
{
    std::vector<std::uint8_t> file;
    PutU32(file, static_cast<std::uint32_t>(declaredSize >= 0 ? declaredSize
                                                               : static_cast<std::int64_t>(archive.size())));
    const std::vector<std::uint8_t> stream = LZHPack(archive);
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}
