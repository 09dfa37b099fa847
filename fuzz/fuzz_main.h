// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turns a broken property into a finding: libFuzzer keeps the input that
// aborted as a crash artifact.

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace quandrel::fuzz {

inline int report(const QString& problem)
{
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "property broken: %s\n", problem.toUtf8().constData());
        std::abort();
    }
    return 0;
}

} // namespace quandrel::fuzz
