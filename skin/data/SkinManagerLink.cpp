#include "SkinManagerLink.h"

#include <utility>

namespace {

TSkinManagerFactory gManagerFactory = nullptr;
// Owned here, but freed only by an explicit shutdown: a manager left for
// static destruction would release frames and remove hooks after the
// windows and the GUI thread's state are gone.
ISkinManagerLink* gManager = nullptr;

} // namespace

TSkinManagerFactory SetSkinManagerFactory(TSkinManagerFactory factory)
{
    ShutdownSkinManager();
    return std::exchange(gManagerFactory, factory);
}

ISkinManagerLink* CurrentSkinManager()
{
    return gManager;
}

ISkinManagerLink* EnsureSkinManager()
{
    if (!gManager && gManagerFactory)
        gManager = gManagerFactory().release();
    return gManager;
}

void ShutdownSkinManager() noexcept
{
    // Taken out first, so skin data freed during the shutdown does not call
    // back into a manager half taken apart.
    std::unique_ptr<ISkinManagerLink> manager(std::exchange(gManager, nullptr));
    if (manager)
        manager->Shutdown();
}
