#include "Timer.h"

#include "SysUtils.h"

namespace {
constexpr UINT_PTR TimerId = 1;
}

const TClassInfo& TTimer::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TTimer>("TTimer", TComponent::StaticClass())
        .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval)
        .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
        .Build());
    return Info;
}

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner), FWindow(TUtilityHandler::Bind<&TTimer::WndProc>(this))
{
    UpdateTimer();
}

TTimer::~TTimer()
{
    KillTimer(FWindow.Handle(), TimerId);
}

void TTimer::SetInterval(unsigned Value)
{
    if (Value == FInterval)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    KillTimer(FWindow.Handle(), TimerId);
    if (FEnabled && FInterval > 0 && !SetTimer(FWindow.Handle(), TimerId, FInterval, nullptr))
        throw EComponentError(L"Not enough timers available");
}

bool TTimer::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_TIMER)
        return false;
    if (OnTimer)
        OnTimer(this);
    return true;
}
