// Whether an object still lives once a call into someone else's code is back. Raising an event
// is such a call, and its handler may end the object that raised it: a form's handler closes the
// form with the control on it. The object keeps a LifeToken; the code that raises an event takes
// a LifeWatch first, holds it across the call, and touches nothing of the object again unless
// the watch says it is still alive.
#pragma once

#include <memory>

namespace relingo {

class LifeWatch {
public:
    bool Alive() const { return *alive_; }

private:
    friend class LifeToken;
    explicit LifeWatch(std::shared_ptr<const bool> alive) : alive_(std::move(alive)) {}

    std::shared_ptr<const bool> alive_;
};

class LifeToken {
public:
    LifeToken() : alive_(std::make_shared<bool>(true)) {}
    ~LifeToken() { *alive_ = false; }
    LifeToken(const LifeToken&) = delete;
    LifeToken& operator=(const LifeToken&) = delete;

    LifeWatch Watch() const { return LifeWatch(alive_); }

private:
    std::shared_ptr<bool> alive_;
};

} // namespace relingo
