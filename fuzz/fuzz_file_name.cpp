// The name a picked file shows under, for any path (UTF-8, or UTF-16 after a
// leading 0xFF byte).

#include "fuzz_checks.h"
#include "fuzz_main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return quandrel::fuzz::report(quandrel::fuzz::checkFileName(data, size));
}
