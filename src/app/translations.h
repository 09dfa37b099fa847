// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quandrel {

// Loads Quandrel's and Qt's own translations for the user's language
// (LANGUAGE, LC_MESSAGES, LANG), over Quandrel's English one, which is always
// loaded. QUANDREL_TRANSLATION may name a .qm file to load instead of
// Quandrel's own, to try a translation out.
void installTranslations();

} // namespace quandrel
