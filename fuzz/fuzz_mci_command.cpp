// Command strings for the audio command layer, over a back end that loads,
// plays and ends as the input says.

#include "fuzz_checks.h"
#include "fuzz_main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return quandrel::fuzz::report(quandrel::fuzz::checkMciCommands(data, size));
}
