// Menus: the part a form needs to carry a menu bar. Menu items and popup
// menus build on TMenu.
#pragma once

#include "Component.h"

#include <windows.h>

class TMenu : public TComponent {
    VK_CLASS_INFO
public:
    ~TMenu() override;
    HMENU Handle() const noexcept { return FHandle; }

protected:
    // Takes ownership of Handle.
    TMenu(TComponent* AOwner, HMENU Handle);

private:
    HMENU FHandle;
};

// A menu bar; the form shows it through its Menu property.
class TMainMenu : public TMenu {
    VK_CLASS_INFO
public:
    explicit TMainMenu(TComponent* AOwner);
};
