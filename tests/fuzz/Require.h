// Stops the run so that libFuzzer records the input: a broken property is a finding like a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void require(bool condition, const char* property) {
    if (condition) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

}  // namespace fuzz
