// TTimer: a window timer whose OnTimer runs on the thread that created the
// timer, between other window messages. Windows only.
#pragma once

#include "Component.h"
#include "UtilWindow.h"

#include <memory>

class TTimer : public TComponent {
    VK_CLASS_INFO
public:
    // Created enabled with a 1000 ms interval, like a timer dropped on a form.
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    unsigned Interval() const noexcept { return FInterval; }
    // 0 stops the timer until a non-zero interval is set.
    void SetInterval(unsigned Value);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value);

    TNotifyEvent OnTimer;

private:
    void UpdateTimer();
    bool WndProc(TMessage& Message);

    unsigned FInterval = 1000;
    bool FEnabled = true;
    TUtilityWindow FWindow;
};
