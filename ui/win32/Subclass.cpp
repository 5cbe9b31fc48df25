#include "ui/win32/Subclass.h"

#include <map>
#include <memory>
#include <vector>

#include "ui/win32/Owners.h"

namespace ui::win32 {
namespace {

struct Layer {
    SubclassProcedure procedure;
    UINT_PTR id;
    DWORD_PTR data;
    bool removed = false;  // freed once no message to the window is on the stack
};

struct Chain {
    WNDPROC previous = nullptr;                  // what our procedure replaced, called after the last layer
    std::vector<std::unique_ptr<Layer>> layers;  // newest first
    const Layer* current = nullptr;              // the layer whose procedure runs innermost; none before the first
    int depth = 0;                               // messages to the window inside our procedure
    bool destroyed = false;                      // WM_NCDESTROY has passed
};

// Each window's chain is touched only on the thread that owns the window; the lock guards the
// table itself against windows of other threads coming and going. Never freed: a message may
// still arrive while the process ends and static objects go.
SRWLOCK tableLock = SRWLOCK_INIT;
std::map<HWND, std::unique_ptr<Chain>>& table() {
    static auto* chains = new std::map<HWND, std::unique_ptr<Chain>>;
    return *chains;
}

Chain* find(HWND window) {
    const LockHeld held(tableLock, LockHeld::Mode::Shared);
    auto found = table().find(window);
    return found == table().end() ? nullptr : found->second.get();
}

void forget(HWND window) {
    const LockHeld held(tableLock, LockHeld::Mode::Exclusive);
    table().erase(window);
}

bool ownedHere(HWND window) {
    return window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

Layer* findLayer(Chain* chain, SubclassProcedure procedure, UINT_PTR id) {
    if (chain == nullptr) return nullptr;
    for (auto& layer : chain->layers) {
        if (!layer->removed && layer->procedure == procedure && layer->id == id) return layer.get();
    }
    return nullptr;
}

LRESULT CALLBACK chainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Once no message to the window is on the stack: removed layers go, and a chain left empty gives
// the window its procedure back, unless a later subclass over ours still calls on to it.
void tidy(HWND window, Chain* chain) {
    if (chain->depth > 0) return;
    auto& layers = chain->layers;
    for (auto layer = layers.begin(); layer != layers.end();) {
        layer = (*layer)->removed ? layers.erase(layer) : layer + 1;
    }
    if (!layers.empty()) return;
    if (chain->destroyed) return forget(window);
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(chainProc)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->previous));
        forget(window);
    }
}

// Calls the first live layer below the current one, or the window's own procedure.
LRESULT callOn(Chain& chain, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Layer* next = nullptr;
    bool below = chain.current == nullptr;
    for (const auto& layer : chain.layers) {
        if (below && !layer->removed) {
            next = layer.get();
            break;
        }
        if (layer.get() == chain.current) below = true;
    }
    if (next == nullptr) return CallWindowProcW(chain.previous, window, message, wParam, lParam);
    struct Restore {
        Chain& chain;
        const Layer* saved;
        ~Restore() { chain.current = saved; }
    } restore{chain, chain.current};
    chain.current = next;
    return next->procedure(window, message, wParam, lParam, next->id, next->data);
}

LRESULT CALLBACK chainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Chain* chain = find(window);
    if (chain == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result;
    {
        // A message sent from inside a layer starts again at the top; the outer one then goes on
        // from where it was.
        struct Frame {
            Chain& chain;
            const Layer* saved;
            ~Frame() {
                chain.current = saved;
                --chain.depth;
            }
        } frame{*chain, chain->current};
        ++chain->depth;
        chain->current = nullptr;
        result = callOn(*chain, window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        chain->destroyed = true;
        for (auto& layer : chain->layers) layer->removed = true;
    }
    tidy(window, chain);
    return result;
}

}  // namespace

bool setWindowSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data) {
    if (procedure == nullptr || !ownedHere(window)) return false;
    Chain* chain = find(window);
    if (chain != nullptr && chain->destroyed) return false;
    if (Layer* known = findLayer(chain, procedure, id)) {
        known->data = data;
        return true;
    }
    auto layer = std::make_unique<Layer>(Layer{procedure, id, data});
    if (chain != nullptr) {
        chain->layers.insert(chain->layers.begin(), std::move(layer));
        return true;
    }
    auto made = std::make_unique<Chain>();
    made->layers.push_back(std::move(layer));
    chain = made.get();
    {
        const LockHeld held(tableLock, LockHeld::Mode::Exclusive);
        table()[window] = std::move(made);
    }
    const LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chainProc));
    if (previous == 0) {
        forget(window);
        return false;
    }
    chain->previous = reinterpret_cast<WNDPROC>(previous);
    return true;
}

bool removeWindowSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id) {
    if (!ownedHere(window)) return false;
    Chain* chain = find(window);
    Layer* layer = findLayer(chain, procedure, id);
    if (layer == nullptr) return false;
    layer->removed = true;
    tidy(window, chain);
    return true;
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Chain* chain = find(window);
    // Outside a layer's procedure there is nothing to call on to.
    if (chain == nullptr || chain->depth == 0) return 0;
    return callOn(*chain, window, message, wParam, lParam);
}

bool getWindowSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR* data) {
    if (!ownedHere(window)) return false;
    const Layer* layer = findLayer(find(window), procedure, id);
    if (layer == nullptr) return false;
    if (data != nullptr) *data = layer->data;
    return true;
}

}  // namespace ui::win32
