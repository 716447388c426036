// Linked for wasm32-wasi with every object of core/ and preview/, so each of
// them must resolve against wasi-libc and libc++ alone.

#include "core/text/text_to_number.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

// Debian's libc++abi for wasm32 is built without exceptions and lacks these;
// the plain code throws only on input no front end passes, which here traps.
extern "C" void* __cxa_allocate_exception(std::size_t) { std::abort(); }
extern "C" void __cxa_throw(void*, void*, void (*)(void*)) { std::abort(); }

int main() {
    const double value = velmorant::TextToNumber(u"1.5e3");
    std::printf("%g\n", value);
    return value == 1500 ? 0 : 1;
}
