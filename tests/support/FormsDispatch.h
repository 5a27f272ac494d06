// For programs built on the framework: the waits of support/Wait.h handing
// messages on through the application, as the program's own loop does (menu
// shortcuts and MDI keys included).
#pragma once

#include "framework/Forms.h"

namespace testsupport {

inline void DispatchThroughApplication()
{
    Application->ProcessMessages();
}

} // namespace testsupport
