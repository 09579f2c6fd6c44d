// Fuzz target: any bytes as "fribb3.cfg"; reading stays inside the buffer, and what is written reads back stable.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/configuration.h"

namespace {

Settings Read(const uint8_t* data, size_t size)
{
    Settings s;
    ApplyGraphicsMode(data, size, s);
    ApplyConfiguration(data, size, s);
    return s;
}

Settings ReadText(const std::string& text)
{
    return Read(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly size bytes, so a sanitizer sees any read past the end.
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    for (size_t i = 0; i < size; ++i)
        copy[i] = data[i];
    const Settings first = Read(copy, size);
    std::free(copy);
    // Written once, the file reads back the same settings ever after (the
    // first write may still bring built-in zeros into their ranges).
    const Settings second = ReadText(FormatConfiguration(first));
    if (!(ReadText(FormatConfiguration(second)) == second))
        std::abort();
    return 0;
}
