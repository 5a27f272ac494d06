// Media-player button bars: the player stays where it is, covered by a
// panel of ours (TWMediaPlayer) that draws its visible buttons side by side
// on the skin's Buttons faces and hands a click on a button back to the
// player at the same point. The program ships no button glyphs, so the
// faces show without pictures.
#pragma once

#include "framework/Controls.h"
#include "skin/controls/SkinControl.h"

#include <array>
#include <memory>
#include <string_view>

class TSkinMP;

// The player's buttons, in the order they show.
enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
inline constexpr std::array<std::string_view, 9> kMPButtonNames{"btPlay", "btPause", "btStop", "btNext", "btPrev",
                                                                 "btStep", "btBack", "btRecord", "btEject"};

// The panel over the player; it paints and takes the mouse for it.
class TWMediaPlayer : public TCustomControl {
    VK_CLASS_INFO
public:
    TWMediaPlayer(TComponent* AOwner, TSkinMP& skin);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TSkinMP& FSkin;
};

class TSkinMP : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinMP(TComponent* AOwner);
    ~TSkinMP() override;

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void Deactivate() override;

    TWMediaPlayer* Panel() const noexcept { return FPanel.get(); }
    // The visible button at panel x, or -1; buttons share the width evenly.
    int ButtonAt(int x) const;

    // Called by the panel.
    void PaintPanel(HDC dc, int width, int height);
    void PanelMouseDown(int x, int y);
    void PanelMouseUp(int x, int y);

protected:
    void AfterMessage(TMessage& message) override;
    // The panel's parent frees its children when it goes, the panel among
    // them: the object then only lets go of it.
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The buttons whose names the player's set property lists.
    std::array<bool, 9> ButtonsIn(std::string_view property) const;
    void AlignPanel();
    // The player handles a mouse message at a panel point as its own.
    void PassToPlayer(UINT msg, int x, int y);

    std::unique_ptr<TWMediaPlayer> FPanel;
    int FPressedButton = -1;
};
