#include "CallbackGuard.h"

#include <windows.h>

#include <atomic>
#include <exception>

namespace {

void ToDebugger() noexcept
{
    try {
        throw;
    } catch (const std::exception& E) {
        OutputDebugStringA(E.what());
    } catch (...) {
        OutputDebugStringA("Unknown exception in a window callback");
    }
}

std::atomic<TCallbackReporter> GReporter{&ToDebugger};

} // namespace

void SetCallbackReporter(TCallbackReporter Reporter) noexcept
{
    GReporter.store(Reporter ? Reporter : &ToDebugger);
}

void ReportCallbackException() noexcept
{
    GReporter.load()();
}
