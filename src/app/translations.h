// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace quandrel {

// Loads Quandrel's and Qt's own translations for the default locale's language
// (the user's: LANGUAGE, LC_MESSAGES, LANG), over Quandrel's English one, which
// is always loaded. A trial file, a .qm file, is loaded instead of Quandrel's
// own, to try a translation out.
void installTranslations(const QString& trialFile = {});

} // namespace quandrel
