// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quandrel {

void installTranslations(const QString& trialFile)
{
    const QLocale locale;
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    // English goes in first, underneath: it words the texts with a number in
    // them, for every language that leaves them untranslated or that Quandrel
    // has no translation for. The one installed last is asked first.
    auto* english = new QTranslator(QCoreApplication::instance());
    if (english->load(QStringLiteral(":/i18n/quandrel_en.qm")))
        QCoreApplication::installTranslator(english);
    auto* own = new QTranslator(QCoreApplication::instance());
    const bool loaded = trialFile.isEmpty() ? own->load(locale, QStringLiteral("quandrel"), QStringLiteral("_"),
                                                        QStringLiteral(":/i18n"))
                                            : own->load(trialFile);
    // An English locale finds the English one again: it is installed once.
    if (loaded && own->filePath() != english->filePath())
        QCoreApplication::installTranslator(own);
}

} // namespace quandrel
