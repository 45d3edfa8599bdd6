// The server's only state shared by all its objects: how many objects live and how many locks
// hosts hold. DllCanUnloadNow answers from them.
#pragma once

namespace relingo::com {

class ServerCounts {
public:
    static void ObjectCreated() noexcept;
    static void ObjectDestroyed() noexcept;
    static void Lock() noexcept;
    static void Unlock() noexcept;
    // True when no object lives and no lock is held.
    static bool Idle() noexcept;
};

} // namespace relingo::com
