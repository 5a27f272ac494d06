#include "Theme.h"

namespace skingen {

namespace {

constexpr TRgb kAccent{37, 157, 217};
constexpr TRgb kWhite{255, 255, 255};

TTheme MakeSteel()
{
    TTheme t;
    t.SkinName = "Vidkiln Steel";
    t.FileStem = "steel";
    t.Outline = {34, 35, 37};
    t.OutlineInactive = {58, 59, 61};
    t.Bevel = {172, 175, 180};
    t.BevelInactive = {142, 144, 147};
    t.CaptionTop = {138, 141, 145};
    t.CaptionBottom = {98, 99, 102};
    t.CaptionTopInactive = {124, 125, 128};
    t.CaptionBottomInactive = {106, 107, 109};
    t.Border = {112, 114, 117};
    t.BorderInactive = {112, 113, 115};
    t.InnerEdge = {56, 57, 59};
    t.InnerEdgeInactive = {74, 75, 77};
    t.Accent = kAccent;
    t.AccentInactive = {92, 94, 98};
    t.CaptionText = kWhite;
    t.CaptionTextInactive = {196, 198, 202};
    t.LabelDarken = {30, 31, 33};

    t.CaptionNormal = {{62, 63, 66}, {168, 171, 176}, {132, 135, 139}, {100, 102, 105}, {244, 245, 247}};
    t.CaptionHot = {{24, 104, 150}, {150, 210, 240}, {84, 178, 226}, {34, 132, 186}, kWhite};
    t.CaptionPressed = {{20, 80, 118}, {40, 120, 168}, {30, 112, 160}, {44, 140, 194}, kWhite};
    t.CaptionDisabled = {{84, 85, 88}, {128, 130, 133}, {114, 116, 119}, {106, 107, 110}, {150, 152, 156}};
    t.CloseHot = {{120, 30, 24}, {240, 150, 140}, {222, 92, 78}, {176, 44, 34}, kWhite};
    t.ClosePressed = {{96, 20, 16}, {150, 40, 30}, {150, 36, 28}, {190, 60, 48}, kWhite};

    t.Normal = {{44, 45, 48}, {160, 163, 168}, {130, 132, 136}, {98, 100, 103}, {236, 238, 240}};
    t.Hot = {{kAccent}, {176, 208, 228}, {138, 146, 154}, {104, 110, 116}, kWhite};
    t.Pressed = {{30, 31, 33}, {70, 71, 74}, {82, 83, 86}, {104, 105, 108}, kWhite};
    t.Disabled = {{82, 83, 86}, {118, 120, 123}, {110, 111, 114}, {104, 105, 108}, {148, 150, 154}};
    t.Focused = {{26, 120, 170}, {160, 200, 226}, {130, 134, 139}, {98, 101, 105}, kWhite};
    t.Face = {105, 106, 107};
    t.Text = {240, 241, 243};
    t.WindowText = {240, 241, 243};
    t.Well = {66, 67, 70};
    t.WellEdge = {36, 37, 39};
    t.WellShade = {54, 55, 58};
    t.Selection = kAccent;
    t.SelectionText = kWhite;
    t.Shadow = {128, 130, 134};
    t.DarkShadow = {40, 41, 43};
    t.Hilight = {178, 181, 186};
    t.Light = {150, 152, 156};
    t.MenuFace = {226, 228, 231};
    t.MenuEdge = {72, 74, 78};
    t.MenuText = {24, 25, 27};
    t.MenuBarTop = {112, 114, 117};
    t.MenuBarBottom = {94, 95, 98};
    t.MenuBarText = {240, 241, 243};
    t.StatusText = {232, 234, 237};
    t.ScrollbarColour = {84, 85, 88};
    t.Tab = {92, 93, 96};
    t.TabSelectedTop = {134, 137, 141};
    t.TabSelectedBottom = {105, 106, 107};
    return t;
}

TTheme MakeLight()
{
    TTheme t;
    t.SkinName = "Vidkiln Light";
    t.FileStem = "light";
    t.Outline = {118, 121, 126};
    t.OutlineInactive = {160, 162, 166};
    t.Bevel = {255, 255, 255};
    t.BevelInactive = {250, 250, 251};
    t.CaptionTop = {246, 247, 249};
    t.CaptionBottom = {214, 218, 224};
    t.CaptionTopInactive = {244, 244, 245};
    t.CaptionBottomInactive = {228, 229, 231};
    t.Border = {222, 225, 230};
    t.BorderInactive = {232, 233, 235};
    t.InnerEdge = {160, 164, 170};
    t.InnerEdgeInactive = {190, 192, 196};
    t.Accent = kAccent;
    t.AccentInactive = {196, 198, 202};
    t.CaptionText = {20, 22, 26};
    t.CaptionTextInactive = {110, 112, 116};
    t.LabelDarken = {150, 160, 175};

    t.CaptionNormal = {{168, 172, 178}, {255, 255, 255}, {248, 249, 250}, {222, 225, 230}, {48, 50, 54}};
    t.CaptionHot = {{24, 120, 176}, {190, 228, 248}, {130, 200, 238}, {46, 150, 208}, kWhite};
    t.CaptionPressed = {{20, 90, 134}, {40, 120, 168}, {34, 124, 176}, {52, 150, 204}, kWhite};
    t.CaptionDisabled = {{200, 202, 206}, {246, 246, 247}, {238, 239, 241}, {230, 231, 233}, {170, 172, 176}};
    t.CloseHot = {{150, 36, 28}, {250, 170, 160}, {232, 100, 86}, {196, 52, 40}, kWhite};
    t.ClosePressed = {{120, 24, 18}, {170, 46, 36}, {170, 42, 32}, {206, 70, 56}, kWhite};

    t.Normal = {{150, 154, 160}, {255, 255, 255}, {252, 252, 253}, {224, 227, 232}, {30, 32, 36}};
    t.Hot = {{kAccent}, {255, 255, 255}, {240, 248, 253}, {208, 232, 247}, {20, 22, 26}};
    t.Pressed = {{96, 100, 106}, {196, 200, 206}, {206, 210, 216}, {228, 231, 235}, {20, 22, 26}};
    t.Disabled = {{196, 198, 202}, {248, 248, 249}, {242, 243, 244}, {236, 237, 239}, {160, 162, 166}};
    t.Focused = {{26, 120, 170}, {255, 255, 255}, {250, 251, 252}, {222, 226, 232}, {20, 22, 26}};
    t.Face = {236, 237, 239};
    t.Text = {24, 25, 28};
    t.WindowText = {24, 25, 28};
    t.Well = {255, 255, 255};
    t.WellEdge = {150, 154, 160};
    t.WellShade = {232, 234, 237};
    t.Selection = kAccent;
    t.SelectionText = kWhite;
    t.Shadow = {140, 143, 148};
    t.DarkShadow = {96, 99, 104};
    t.Hilight = {255, 255, 255};
    t.Light = {246, 246, 247};
    t.MenuFace = {250, 250, 251};
    t.MenuEdge = {150, 154, 160};
    t.MenuText = {24, 25, 28};
    t.MenuBarTop = {244, 245, 247};
    t.MenuBarBottom = {230, 232, 236};
    t.MenuBarText = {24, 25, 28};
    t.StatusText = {40, 42, 46};
    t.ScrollbarColour = {228, 230, 233};
    t.Tab = {222, 225, 230};
    t.TabSelectedTop = {255, 255, 255};
    t.TabSelectedBottom = {236, 237, 239};
    t.ComposedCombo = true;
    t.OwnTrack = true;
    t.ChunkProgress = true;
    return t;
}

} // namespace

const TTheme& SteelTheme()
{
    static const TTheme theme = MakeSteel();
    return theme;
}

const TTheme& LightTheme()
{
    static const TTheme theme = MakeLight();
    return theme;
}

} // namespace skingen
