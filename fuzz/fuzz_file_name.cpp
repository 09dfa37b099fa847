// SPDX-License-Identifier: GPL-3.0-or-later
// The shown name of any picked path.
#include "checks.h"
#include "fuzz_main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return quandrel::fuzz::report(quandrel::fuzz::checkFileName(data, size));
}
