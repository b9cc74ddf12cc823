// The libFuzzer entry of a target whose property is `check`: a function of
// the input bytes that gives an empty text when the property holds and what
// went wrong otherwise. A violation aborts, which libFuzzer reports as a
// finding and keeps the input of.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define BRIM_FUZZ_PROPERTY(check)                                                                  \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {                      \
        std::string violation = check(data, size);                                                 \
        if (!violation.empty()) {                                                                  \
            std::fprintf(stderr, "property violated: %s\n", violation.c_str());                    \
            std::abort();                                                                          \
        }                                                                                          \
        return 0;                                                                                  \
    }
