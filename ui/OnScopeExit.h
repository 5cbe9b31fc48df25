// An action run when the scope ends, on every way out of it: how the portable code gives back
// what it opened through an interface (a search, an internet handle) with that interface's close.
#pragma once

#include <utility>

namespace ui {

template <typename Action>
class OnScopeExit {
public:
    explicit OnScopeExit(Action action) : action_(std::move(action)) {}
    OnScopeExit(const OnScopeExit&) = delete;
    OnScopeExit& operator=(const OnScopeExit&) = delete;
    ~OnScopeExit() { action_(); }

private:
    Action action_;
};

}  // namespace ui
