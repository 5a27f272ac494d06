#include "Menus.h"

#include "SysUtils.h"

const TClassInfo& TMenu::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TMenu", &TComponent::StaticClass(), {});
    return Info;
}

const TClassInfo& TMainMenu::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TMainMenu", &TMenu::StaticClass(), {});
    return Info;
}

TMenu::TMenu(TComponent* AOwner, HMENU Handle) : TComponent(AOwner), FHandle(Handle)
{
    if (!FHandle)
        throw Exception(L"Cannot create a menu");
}

TMenu::~TMenu()
{
    DestroyMenu(FHandle);
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner, CreateMenu()) {}
