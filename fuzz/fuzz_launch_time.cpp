// SPDX-License-Identifier: GPL-3.0-or-later
// Launch time texts: any text, and every locale's own time format.
#include "checks.h"
#include "fuzz_main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return quandrel::fuzz::report(quandrel::fuzz::checkLaunchTime(data, size));
}
