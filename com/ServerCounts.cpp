#include "com/ServerCounts.h"

#include <atomic>

namespace relingo::com {

namespace {

std::atomic<long> objects{0};
std::atomic<long> locks{0};

} // namespace

void ServerCounts::ObjectCreated() noexcept {
    ++objects;
}

void ServerCounts::ObjectDestroyed() noexcept {
    --objects;
}

void ServerCounts::Lock() noexcept {
    ++locks;
}

void ServerCounts::Unlock() noexcept {
    --locks;
}

bool ServerCounts::Idle() noexcept {
    return objects.load() == 0 && locks.load() == 0;
}

} // namespace relingo::com
