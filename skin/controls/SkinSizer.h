// Size boxes and size grips (bare scroll-bar windows without the scroll
// styles): filled with the skin's face colour instead of the system's grip.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinSizer : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinSizer(TComponent* AOwner);

protected:
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
};
