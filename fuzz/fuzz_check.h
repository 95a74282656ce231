#pragma once

#include <cstdio>
#include <cstdlib>

namespace quennix::fuzz {

// Stops the run with a message when a property of the code does not hold;
// libFuzzer then saves the input that broke it.
inline void check(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

} // namespace quennix::fuzz
