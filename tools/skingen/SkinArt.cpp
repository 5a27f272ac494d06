#include "SkinArt.h"

#include <array>
#include <cstdlib>

namespace skingen {

using namespace geometry;

namespace {

constexpr TRgb kBlack{0, 0, 0};
constexpr TRgb kWhite{255, 255, 255};

const TGlyph& CloseGlyph()
{
    static const TGlyph glyph{"##......##", "###....###", ".###..###.", "..######..", "...####...",
                              "...####...", "..######..", ".###..###.", "###....###", "##......##"};
    return glyph;
}

const TGlyph& MaximiseGlyph()
{
    static const TGlyph glyph{"##########", "##########", "#........#", "#........#", "#........#",
                              "#........#", "#........#", "#........#", "#........#", "##########"};
    return glyph;
}

const TGlyph& RestoreGlyph()
{
    static const TGlyph glyph{"...#######", "...#######", "...#.....#", "#######..#", "#######..#",
                              "#.....#..#", "#.....####", "#.....#...", "#.....#...", "#######..."};
    return glyph;
}

const TGlyph& MinimiseGlyph()
{
    static const TGlyph glyph{"..........", "..........", "..........", "..........", "..........",
                              "..........", "..........", "##########", "##########", ".........."};
    return glyph;
}

const TGlyph& HelpGlyph()
{
    static const TGlyph glyph{".#####.", "##...##", ".....##", "....##.", "...##..",
                              "..##...", "..##...", ".......", "..##...", "..##..."};
    return glyph;
}

const TGlyph& SmallClose()
{
    static const TGlyph glyph{"##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"};
    return glyph;
}

const TGlyph& SmallRestore()
{
    static const TGlyph glyph{"..#####", "..#####", "..#...#", "#####.#", "#####.#", "#...###", "#####.."};
    return glyph;
}

const TGlyph& SmallMinimise()
{
    static const TGlyph glyph{".......", ".......", ".......", ".......", ".......", "#######", "#######"};
    return glyph;
}

// Points down; the other directions are turned from it.
const TGlyph& ArrowDown()
{
    static const TGlyph glyph{"#######", ".#####.", "..###..", "...#..."};
    return glyph;
}

const TGlyph& SmallArrowDown()
{
    static const TGlyph glyph{"#####", ".###.", "..#.."};
    return glyph;
}

const TGlyph& CheckMark()
{
    static const TGlyph glyph{"........#", ".......##", "#.....##.", "##...##..", ".##.##...", "..###....", "...#....."};
    return glyph;
}

TGlyph ArrowLeft(const TGlyph& down) { return down.RotatedRight(); }
TGlyph ArrowUp(const TGlyph& down) { return down.MirroredTopBottom(); }
TGlyph ArrowRight(const TGlyph& down) { return down.RotatedRight().MirroredLeftRight(); }

int Luminance(TRgb c)
{
    return (c.R * 30 + c.G * 59 + c.B * 11) / 100;
}

// Light glyphs get a dark drop shadow and dark glyphs a light one, which keeps
// one-pixel strokes readable on a gradient.
TRgb ShadowFor(const TFace& face)
{
    return Luminance(face.Ink) > 128 ? Mix(face.Edge, face.Bottom, 60) : Mix(kWhite, face.Top, 50);
}

void StampWithShadow(TRaster& canvas, const TGlyph& glyph, int left, int top, int width, int height,
                     const TFace& face, int shift = 0)
{
    const int x = left + (width - glyph.Width()) / 2 + shift;
    const int y = top + (height - glyph.Height()) / 2 + shift;
    glyph.Stamp(canvas, x + 1, y + 1, ShadowFor(face));
    glyph.Stamp(canvas, x, y, face.Ink);
}

// A raised face: outline, a highlight row under the top outline, then a
// vertical gradient.
void PaintFace(TRaster& canvas, int left, int top, const TShape& shape, const TFace& face)
{
    shape.Paint(canvas, left, top, [&](int x, int y, int depth) {
        if (depth == 1)
            return face.Edge;
        if (shape.RowFromTop(x, y) == 2)
            return face.Highlight;
        return Lerp(face.Top, face.Bottom, y, shape.Height());
    });
}

TRaster FaceFrame(int width, int height, int radius, const TFace& face)
{
    TRaster frame(width, height);
    PaintFace(frame, 0, 0, TShape::RoundRect(width, height, radius), face);
    return frame;
}

TRgb CaptionShade(const TTheme& t, bool active, int y)
{
    const TRgb top = active ? t.CaptionTop : t.CaptionTopInactive;
    const TRgb bottom = active ? t.CaptionBottom : t.CaptionBottomInactive;
    return Lerp(top, bottom, y - 1, kCaption - 3);
}

// The whole frame of a small window; the four border images are cut from it,
// so they join without seams at any window size.
TRaster DrawFullFrame(const TTheme& t, bool active)
{
    TRaster canvas(kFrameWidth, kFrameHeight);
    const TRgb outline = active ? t.Outline : t.OutlineInactive;
    const TRgb bevel = active ? t.Bevel : t.BevelInactive;
    const TRgb border = active ? t.Border : t.BorderInactive;
    const TRgb innerEdge = active ? t.InnerEdge : t.InnerEdgeInactive;
    const TRgb accent = active ? t.Accent : t.AccentInactive;
    const int bottomRow = kFrameHeight - kBorder;
    const TShape shape = TShape::RoundRect(kFrameWidth, kFrameHeight, kCorner, true, false);
    shape.Paint(canvas, 0, 0, [&](int x, int y, int depth) {
        const bool inner = x >= kBorder && x < kFrameWidth - kBorder;
        const bool edgeColumn = x == kBorder - 1 || x == kFrameWidth - kBorder;
        if (depth == 1)
            return outline;
        if (y == kCaption - 2 && inner)
            return accent;
        if (y < kCaption - 1)
            return depth == 2 ? bevel : CaptionShade(t, active, y);
        if ((y == kCaption - 1 || y == bottomRow) && (inner || edgeColumn))
            return innerEdge;
        if (edgeColumn && y < bottomRow)
            return innerEdge;
        if (y == kFrameHeight - 2)
            return Mix(border, outline, 70);
        return depth == 2 ? Mix(bevel, border, 55) : border;
    });
    return canvas;
}

TFace CaptionFace(const TTheme& t, TCaptionGlyph glyph, int state)
{
    const bool close = glyph == TCaptionGlyph::Close;
    switch (state) {
    case 1: return close ? t.ClosePressed : t.CaptionPressed;
    case 2: return close ? t.CloseHot : t.CaptionHot;
    case 3: return t.CaptionDisabled;
    default: return t.CaptionNormal;
    }
}

const TGlyph& CaptionGlyphArt(TCaptionGlyph glyph)
{
    switch (glyph) {
    case TCaptionGlyph::Close: return CloseGlyph();
    case TCaptionGlyph::Maximise: return MaximiseGlyph();
    case TCaptionGlyph::Restore: return RestoreGlyph();
    case TCaptionGlyph::Minimise: return MinimiseGlyph();
    default: return HelpGlyph();
    }
}

// The window-icon button: a small film frame with a play mark.
TRaster DrawIconFrame(const TTheme& t, const TFace& face)
{
    TRaster frame(16, 16);
    PaintFace(frame, 0, 1, TShape::RoundRect(16, 14, 3), TFace{face.Edge, face.Highlight, t.Accent, Mix(t.Accent, kBlack, 70), kWhite});
    static const TGlyph play{"#...", "##..", "###.", "####", "###.", "##..", "#..."};
    play.Stamp(frame, 7, 5, face.Ink);
    return frame;
}

std::array<TFace, 4> ControlStates(const TTheme& t)
{
    return {t.Normal, t.Pressed, t.Disabled, t.Hot};
}

// The well that check boxes, radio buttons and the progress trough sit in.
TFace WellFace(const TTheme& t)
{
    return {t.WellEdge, t.WellShade, t.Well, t.Well, t.Text};
}

// A checked box or a chosen radio button: the selection colour, raised.
TFace CheckedFace(const TTheme& t)
{
    return {Mix(t.Selection, kBlack, 65), Mix(kWhite, t.Selection, 30), Mix(kWhite, t.Selection, 20), t.Selection,
            t.SelectionText};
}

TRaster DrawChannel(int length, int thickness, TRgb edge, TRgb fill, TRgb light)
{
    TRaster channel(length, thickness, fill);
    channel.FillRect(0, 0, length, 1, edge);
    channel.FillRect(0, thickness - 1, length, 1, light);
    channel.FillRect(0, 0, 1, thickness, edge);
    channel.FillRect(length - 1, 0, 1, thickness - 1, edge);
    return channel;
}

} // namespace

TRaster DrawBorder(const TTheme& theme, TBorderSide side)
{
    const TRaster active = DrawFullFrame(theme, true);
    const TRaster inactive = DrawFullFrame(theme, false);
    const int innerWidth = kFrameWidth - 2 * kBorder;
    switch (side) {
    case TBorderSide::Left:
        return JoinSideBySide({active.Crop(0, 0, kBorder, kFrameHeight), inactive.Crop(0, 0, kBorder, kFrameHeight)});
    case TBorderSide::Right:
        return JoinSideBySide({active.Crop(kFrameWidth - kBorder, 0, kBorder, kFrameHeight),
                               inactive.Crop(kFrameWidth - kBorder, 0, kBorder, kFrameHeight)});
    case TBorderSide::Top:
        return JoinStacked({active.Crop(kBorder, 0, innerWidth, kCaption), inactive.Crop(kBorder, 0, innerWidth, kCaption)});
    case TBorderSide::Bottom:
        return JoinStacked({active.Crop(kBorder, kFrameHeight - kBorder, innerWidth, kBorder),
                            inactive.Crop(kBorder, kFrameHeight - kBorder, innerWidth, kBorder)});
    }
    return {};
}

TRaster DrawCaptionLabel(const TTheme& theme)
{
    constexpr int kWidth = 2 * kLabelCap + 4;
    constexpr int kTop = 5;
    constexpr int kHeight = kCaption - 2 * kTop;
    std::vector<TRaster> frames;
    for (const bool active : {true, false}) {
        TRaster frame(kWidth, kCaption);
        const TShape shape = TShape::RoundRect(kWidth, kHeight, 4);
        const TRgb bevel = active ? theme.Bevel : theme.BevelInactive;
        shape.Paint(frame, 0, kTop, [&](int, int y, int depth) {
            const TRgb shade = CaptionShade(theme, active, y + kTop);
            if (depth == 1)
                return y < kHeight / 2 ? Mix(theme.LabelDarken, shade, 45) : Mix(bevel, shade, 40);
            return Mix(theme.LabelDarken, shade, 22);
        });
        frames.push_back(frame);
    }
    return JoinStacked(frames);
}

TRaster DrawMenuBar(const TTheme& theme)
{
    constexpr int kWidth = 40;
    constexpr int kHeight = 20;
    std::vector<TRaster> frames;
    for (const bool active : {true, false}) {
        TRaster frame(kWidth, kHeight);
        const TRgb top = active ? theme.MenuBarTop : Mix(theme.MenuBarTop, theme.Face, 50);
        const TRgb bottom = active ? theme.MenuBarBottom : Mix(theme.MenuBarBottom, theme.Face, 50);
        for (int y = 0; y < kHeight; ++y)
            frame.FillRect(0, y, kWidth, 1, Lerp(top, bottom, y, kHeight));
        frame.FillRect(0, 0, kWidth, 1, Mix(theme.Bevel, top, 35));
        frame.FillRect(0, kHeight - 1, kWidth, 1, active ? theme.InnerEdge : theme.InnerEdgeInactive);
        frames.push_back(frame);
    }
    return JoinStacked(frames);
}

TRaster DrawCaptionButton(const TTheme& theme, TCaptionGlyph glyph)
{
    std::vector<TRaster> frames;
    for (int state = 0; state < 4; ++state) {
        const TFace face = CaptionFace(theme, glyph, state);
        if (glyph == TCaptionGlyph::Icon) {
            frames.push_back(DrawIconFrame(theme, face));
            continue;
        }
        TRaster frame = FaceFrame(kCaptionButtonWidth, kCaptionButtonHeight, 4, face);
        StampWithShadow(frame, CaptionGlyphArt(glyph), 0, 0, kCaptionButtonWidth, kCaptionButtonHeight, face,
                        state == 1 ? 1 : 0);
        frames.push_back(frame);
    }
    return JoinSideBySide(frames);
}

TRaster DrawMdiStrip(const TTheme& theme)
{
    std::vector<TRaster> frames;
    for (const TGlyph* glyph : {&SmallMinimise(), &SmallRestore(), &SmallClose()}) {
        const bool close = glyph == &SmallClose();
        const std::array<TFace, 4> faces{theme.CaptionNormal, close ? theme.ClosePressed : theme.CaptionPressed,
                                         close ? theme.CloseHot : theme.CaptionHot, close ? theme.CloseHot : theme.CaptionHot};
        for (const TFace& face : faces) {
            TRaster frame = FaceFrame(kMdiButtonWidth, kMdiButtonHeight, 2, face);
            StampWithShadow(frame, *glyph, 0, 0, kMdiButtonWidth, kMdiButtonHeight, face);
            frames.push_back(frame);
        }
    }
    return JoinSideBySide(frames);
}

TRaster DrawPushButton(const TTheme& theme)
{
    std::vector<TRaster> frames;
    for (const TFace& face : {theme.Normal, theme.Pressed, theme.Disabled, theme.Hot, theme.Focused})
        frames.push_back(FaceFrame(24, 22, 3, face));
    return JoinSideBySide(frames);
}

TRaster DrawCheckBox(const TTheme& theme)
{
    const TShape box = TShape::RoundRect(13, 13, 2);
    const TFace well = WellFace(theme);
    const TFace checked = CheckedFace(theme);
    const TFace disabled{theme.Disabled.Edge, theme.Disabled.Highlight, theme.Disabled.Top, theme.Disabled.Bottom,
                         theme.Disabled.Ink};
    std::vector<TRaster> frames;
    auto frame = [&](const TFace& face, bool mark) {
        TRaster result(13, 13);
        PaintFace(result, 0, 0, box, face);
        if (mark)
            CheckMark().Stamp(result, 2, 3, face.Ink);
        return result;
    };
    frames.push_back(frame(well, false));
    frames.push_back(frame(checked, true));
    frames.push_back(frame(disabled, false));
    frames.push_back(frame(disabled, true));
    TRaster mixed = frame(well, false);
    mixed.FillRect(4, 4, 5, 5, theme.Selection);
    frames.push_back(mixed);
    return JoinSideBySide(frames);
}

TRaster DrawRadioButton(const TTheme& theme)
{
    const TShape ring = TShape::Circle(13);
    const TShape dot = TShape::Circle(5);
    const TFace well = WellFace(theme);
    const TFace on = CheckedFace(theme);
    const TFace hot{theme.Selection, theme.WellShade, theme.Well, theme.Well, theme.Text};
    auto frame = [&](const TFace& face, bool mark) {
        TRaster result(13, 13);
        PaintFace(result, 0, 0, ring, face);
        if (mark)
            dot.Paint(result, 4, 4, [&](int, int, int) { return face.Ink; });
        return result;
    };
    return JoinSideBySide({frame(well, false), frame(on, true), frame(theme.Disabled, false),
                           frame(theme.Disabled, true), frame(hot, false)});
}

TRaster DrawToolButton(const TTheme& theme)
{
    TRaster flat(24, 22, theme.Face);
    TFace checked = theme.Pressed;
    checked.Edge = theme.Selection;
    return JoinSideBySide({flat, FaceFrame(24, 22, 3, theme.Pressed), flat, FaceFrame(24, 22, 3, theme.Hot),
                           FaceFrame(24, 22, 3, checked)});
}

TRaster DrawProgressTrough(const TTheme& theme, bool withFill)
{
    const int width = withFill ? 16 : 120;
    const int height = withFill ? 14 : 18;
    const TShape shape = TShape::RoundRect(width, height, 3);
    const TFace trough = WellFace(theme);
    TRaster first(width, height);
    PaintFace(first, 0, 0, shape, trough);
    if (!withFill)
        return first;
    const TFace fill{Mix(theme.Selection, kBlack, 60), Mix(kWhite, theme.Selection, 45), Mix(kWhite, theme.Selection, 25),
                     Mix(theme.Selection, kBlack, 85), kWhite};
    TRaster second(width, height);
    PaintFace(second, 0, 0, shape, fill);
    return JoinSideBySide({first, second});
}

TRaster DrawProgressChunk(const TTheme& theme)
{
    TRaster chunk(9, 12, theme.Well);
    PaintFace(chunk, 0, 0, TShape::RoundRect(8, 12, 1),
              TFace{Mix(theme.Selection, kBlack, 70), Mix(kWhite, theme.Selection, 40), Mix(kWhite, theme.Selection, 25),
                    Mix(theme.Selection, kBlack, 85), kWhite});
    return chunk;
}

TRaster DrawScrollGlyphs(const TTheme& theme)
{
    const TGlyph& down = ArrowDown();
    const std::array<TGlyph, 4> arrows{ArrowLeft(down), ArrowRight(down), ArrowUp(down), down};
    std::vector<TRaster> frames;
    for (const TGlyph& arrow : arrows)
        for (const TFace& face : ControlStates(theme)) {
            TRaster frame = FaceFrame(kScrollSize, kScrollSize, 3, face);
            arrow.StampCentred(frame, 0, 0, kScrollSize, kScrollSize, face.Ink);
            frames.push_back(frame);
        }
    for (const bool vertical : {false, true})
        for (const TFace& face : {theme.Normal, theme.Pressed, theme.Hot}) {
            TRaster grip(kScrollSize, kScrollSize);
            for (int i = 0; i < 3; ++i) {
                grip.FillRect(5 + 3 * i, 5, 1, 7, face.Edge);
                grip.FillRect(6 + 3 * i, 5, 1, 7, face.Highlight);
            }
            frames.push_back(vertical ? grip.Transposed() : grip);
        }
    frames.emplace_back(kScrollSize, kScrollSize);
    return JoinSideBySide(frames);
}

TRaster DrawScrollTrack(const TTheme& theme, TScrollKind kind)
{
    std::vector<TRaster> frames;
    const std::array<TRgb, 4> fills{theme.ScrollbarColour, Mix(theme.ScrollbarColour, kBlack, 88),
                                    Mix(theme.ScrollbarColour, theme.Face, 40), Mix(theme.ScrollbarColour, kWhite, 92)};
    for (const TRgb fill : fills) {
        TRaster track(20, kScrollSize, fill);
        track.FillRect(0, 0, 20, 1, Mix(theme.WellEdge, fill, 50));
        track.FillRect(0, 1, 20, 1, Mix(theme.WellShade, fill, 50));
        track.FillRect(0, kScrollSize - 1, 20, 1, Mix(theme.WellEdge, fill, 50));
        frames.push_back(kind == TScrollKind::Vertical ? track.Transposed() : track);
    }
    return JoinSideBySide(frames);
}

TRaster DrawScrollThumb(const TTheme& theme, TScrollKind kind)
{
    std::vector<TRaster> frames;
    for (const TFace& face : {theme.Normal, theme.Pressed, theme.Hot}) {
        TRaster thumb(20, kScrollSize);
        PaintFace(thumb, 0, 1, TShape::RoundRect(20, kScrollSize - 2, 4), face);
        frames.push_back(kind == TScrollKind::Vertical ? thumb.Transposed() : thumb);
    }
    return JoinSideBySide(frames);
}

TRaster DrawComboButton(const TTheme& theme, bool withArrow)
{
    const int width = withArrow ? kScrollSize : 19;
    const int height = withArrow ? kScrollSize : 21;
    std::vector<TRaster> frames;
    for (const TFace& face : ControlStates(theme)) {
        TRaster frame = FaceFrame(width, height, 3, face);
        if (withArrow)
            ArrowDown().StampCentred(frame, 0, 0, width, height, face.Ink);
        frames.push_back(frame);
    }
    return JoinSideBySide(frames);
}

TRaster DrawSunkEdge(const TTheme& theme)
{
    std::vector<TRaster> frames;
    const std::array<TRgb, 4> edges{theme.WellEdge, theme.DarkShadow, theme.Disabled.Edge, theme.Selection};
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const TRgb fill = i == 2 ? theme.Disabled.Top : theme.Well;
        TRaster frame(20, 21, fill);
        PaintFace(frame, 0, 0, TShape::RoundRect(20, 21, 2), TFace{edges[i], theme.WellShade, fill, fill, theme.Text});
        frames.push_back(frame);
    }
    return JoinSideBySide(frames);
}

TRaster DrawExtraImages(const TTheme& theme)
{
    std::vector<TRaster> frames;
    for (const TFace& face : ControlStates(theme)) {
        TRaster frame(12, 12);
        ArrowDown().StampCentred(frame, 0, 0, 12, 12, face.Ink);
        frames.push_back(frame);
    }
    TRaster grip(12, 12);
    for (int row = 0; row < 3; ++row)
        for (int column = 2 - row; column < 3; ++column) {
            const int x = 2 + 3 * column;
            const int y = 2 + 3 * row;
            grip.FillRect(x + 1, y + 1, 2, 2, theme.Hilight);
            grip.FillRect(x, y, 2, 2, theme.DarkShadow);
        }
    frames.push_back(grip);
    return JoinSideBySide(frames);
}

TRaster DrawTab(const TTheme& theme)
{
    constexpr int kWidth = 30;
    constexpr int kHeight = 24;
    const TShape shape = TShape::RoundRect(kWidth, kHeight, 4, true, false);
    auto tab = [&](TRgb top, TRgb bottom, TRgb edge, bool selected, bool accent) {
        TRaster frame(kWidth, kHeight);
        shape.Paint(frame, 0, 0, [&](int x, int y, int depth) {
            if (depth == 1 && y < kHeight - 1)
                return edge;
            if (y == kHeight - 1)
                return selected ? bottom : edge;
            if (accent && shape.RowFromTop(x, y) <= 3)
                return theme.Selection;
            if (shape.RowFromTop(x, y) == 2)
                return Mix(kWhite, top, 30);
            return Lerp(top, bottom, y, kHeight);
        });
        return frame;
    };
    const TRgb edge = theme.Normal.Edge;
    return JoinSideBySide({tab(theme.Tab, Mix(theme.Tab, kBlack, 92), edge, false, false),
                           tab(theme.TabSelectedTop, theme.TabSelectedBottom, edge, true, true),
                           tab(Mix(theme.Tab, kWhite, 85), theme.Tab, theme.Selection, false, false),
                           tab(theme.Disabled.Top, theme.Disabled.Bottom, theme.Disabled.Edge, false, false),
                           tab(theme.TabSelectedTop, theme.TabSelectedBottom, edge, true, false)});
}

TRaster DrawTabPane(const TTheme& theme)
{
    TRaster pane(12, 12, theme.Face);
    pane.FillRect(0, 0, 12, 12, theme.Normal.Edge);
    pane.FillRect(1, 1, 10, 10, Mix(kWhite, theme.Face, 18));
    pane.FillRect(2, 2, 9, 9, Mix(kBlack, theme.Face, 10));
    pane.FillRect(2, 2, 8, 8, theme.Face);
    return pane;
}

TRaster DrawHeader(const TTheme& theme)
{
    constexpr int kWidth = 40;
    constexpr int kHeight = 20;
    auto header = [&](const TFace& face, bool hot) {
        TRaster frame(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y)
            frame.FillRect(0, y, kWidth, 1, Lerp(face.Top, face.Bottom, y, kHeight));
        frame.FillRect(0, 0, kWidth, 1, face.Highlight);
        frame.FillRect(kWidth - 2, 3, 1, kHeight - 6, face.Edge);
        frame.FillRect(kWidth - 1, 3, 1, kHeight - 6, face.Highlight);
        frame.FillRect(0, kHeight - 1, kWidth, 1, face.Edge);
        if (hot)
            frame.FillRect(0, kHeight - 3, kWidth, 2, theme.Selection);
        return frame;
    };
    TFace hot = theme.Normal;
    hot.Top = Mix(kWhite, hot.Top, 12);
    return JoinSideBySide({header(theme.Normal, false), header(hot, true)});
}

TRaster DrawMenuItem(const TTheme& theme)
{
    constexpr int kWidth = 24;
    constexpr int kHeight = 20;
    TRaster empty(kWidth, kHeight);
    TRaster separator(kWidth, kHeight);
    separator.FillRect(2, kHeight - 5, kWidth - 4, 1, Mix(theme.MenuEdge, theme.MenuFace, 45));
    separator.FillRect(2, kHeight - 4, kWidth - 4, 1, Mix(kWhite, theme.MenuFace, 70));
    const TFace selected{Mix(theme.Selection, kBlack, 75), Mix(kWhite, theme.Selection, 35), Mix(kWhite, theme.Selection, 12),
                         Mix(theme.Selection, kBlack, 90), kWhite};
    const TFace grey{theme.Shadow, Mix(kWhite, theme.Shadow, 35), Mix(kWhite, theme.Shadow, 20), theme.Shadow, kWhite};
    return JoinSideBySide({empty, separator, empty, FaceFrame(kWidth, kHeight, 3, selected), FaceFrame(kWidth, kHeight, 3, grey)});
}

TRaster DrawMenuBackground(const TTheme& theme)
{
    TRaster background(32, 32, theme.MenuFace);
    background.FillRect(0, 0, 32, 32, theme.MenuEdge);
    background.FillRect(1, 1, 30, 30, Mix(kWhite, theme.MenuFace, 60));
    background.FillRect(2, 2, 29, 29, Mix(theme.MenuEdge, theme.MenuFace, 25));
    background.FillRect(2, 2, 28, 28, theme.MenuFace);
    return background;
}

TRaster DrawGroupBoxLabel(const TTheme& theme)
{
    return FaceFrame(24, 16, 3, theme.Normal);
}

TRaster DrawGroupBoxEdge(const TTheme& theme)
{
    std::vector<TRaster> frames;
    for (const TRgb edge : {theme.Shadow, theme.Disabled.Edge}) {
        TRaster frame(16, 16);
        TShape::RoundRect(16, 16, 3).Paint(frame, 0, 0, [&](int, int, int depth) {
            return depth == 1 ? edge : depth == 2 ? Mix(kWhite, theme.Face, 20) : kKey;
        });
        frames.push_back(frame);
    }
    return JoinSideBySide(frames);
}

TRaster DrawStatusBar(const TTheme& theme)
{
    constexpr int kWidth = 20;
    constexpr int kHeight = 19;
    auto panel = [&](TRgb first, TRgb second, TRgb top, TRgb bottom) {
        TRaster frame(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y)
            frame.FillRect(0, y, kWidth, 1, Lerp(top, bottom, y, kHeight));
        frame.FillRect(0, 0, kWidth, 1, first);
        frame.FillRect(0, 1, kWidth, 1, second);
        return frame;
    };
    const TRgb light = Mix(kWhite, theme.Face, 15);
    const TRgb dark = Mix(kBlack, theme.Face, 8);
    return JoinSideBySide({panel(theme.InnerEdge, Mix(theme.Bevel, theme.Face, 35), light, dark),
                           panel(Mix(theme.Bevel, theme.Face, 60), light, light, dark),
                           panel(theme.Face, theme.Face, theme.Face, theme.Face)});
}

TRaster DrawTrackbarThumb(const TTheme& theme, TThumbKind kind)
{
    constexpr int kWidth = 11;
    constexpr int kHeight = 20;
    constexpr int kPoint = 5;
    const bool pointUp = kind == TThumbKind::Up || kind == TThumbKind::Left;
    const bool pointDown = kind == TThumbKind::Down || kind == TThumbKind::Right;
    const TShape shape = TShape::FromMask(kWidth, kHeight, [&](int x, int y) {
        const int spread = std::abs(x - kWidth / 2);
        if (pointUp && y < kPoint + 1)
            return spread <= y;
        if (pointDown && y >= kHeight - kPoint - 1)
            return spread <= kHeight - 1 - y;
        const bool corner = (x == 0 || x == kWidth - 1) && ((!pointUp && y == 0) || (!pointDown && y == kHeight - 1));
        return !corner;
    });
    std::vector<TRaster> frames;
    for (const TFace& face : {theme.Normal, theme.Focused, theme.Hot, theme.Pressed, theme.Disabled}) {
        TRaster frame(kWidth, kHeight);
        PaintFace(frame, 0, 0, shape, face);
        const bool vertical = kind == TThumbKind::Vert || kind == TThumbKind::Left || kind == TThumbKind::Right;
        frames.push_back(vertical ? frame.Transposed() : frame);
    }
    return JoinSideBySide(frames);
}

TRaster DrawUpDownFace(const TTheme& theme, bool horizontal)
{
    std::vector<TRaster> frames;
    for (const bool first : {true, false})
        for (const TFace& face : ControlStates(theme)) {
            TRaster frame(15, 10);
            PaintFace(frame, 0, 0, TShape::RoundRect(15, 10, 3, first, !first), face);
            frames.push_back(horizontal ? frame.Transposed() : frame);
        }
    return JoinSideBySide(frames);
}

TRaster DrawUpDownGlyphs(const TTheme& theme, bool horizontal)
{
    const TGlyph& down = SmallArrowDown();
    const TGlyph up = ArrowUp(down);
    std::vector<TRaster> frames;
    for (const TGlyph* glyph : {&up, &down})
        for (const TFace& face : ControlStates(theme)) {
            TRaster frame(5, 3);
            glyph->Stamp(frame, 0, 0, face.Ink);
            frames.push_back(horizontal ? frame.Transposed() : frame);
        }
    return JoinSideBySide(frames);
}

TRaster DrawTrackChannel(const TTheme& theme, bool vertical, int length, int thickness)
{
    const TRaster channel = DrawChannel(length, thickness, theme.WellEdge, theme.Well, theme.Hilight);
    return vertical ? channel.Transposed() : channel;
}

TRaster DrawMenuGlyphs()
{
    TRaster strip(64, 16, kWhite);
    int left = 0;
    for (const TGlyph* glyph : {&RestoreGlyph(), &MaximiseGlyph(), &MinimiseGlyph(), &CloseGlyph()}) {
        glyph->StampCentred(strip, left, 0, 16, 16, kBlack);
        left += 16;
    }
    return strip;
}

} // namespace skingen
