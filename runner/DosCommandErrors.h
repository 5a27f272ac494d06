// The runner's exceptions, apart from DosCommand.h so the process code can
// raise them without the component classes.
#pragma once

#include "framework/SysUtils.h"

// Misuse of the runner, such as a start without a command line.
class EDosCommand : public Exception {
public:
    using Exception::Exception;
};

// The child cannot be created; the message names the command line.
class TCreateProcessError : public Exception {
public:
    using Exception::Exception;
};
