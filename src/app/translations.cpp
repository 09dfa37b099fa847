// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quandrel {

void installTranslations()
{
    const QLocale locale;
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    auto* own = new QTranslator(QCoreApplication::instance());
    const QString file = qEnvironmentVariable("QUANDREL_TRANSLATION");
    if (file.isEmpty() ? own->load(locale, QStringLiteral("quandrel"), QStringLiteral("_"), QStringLiteral(":/i18n"))
                       : own->load(file))
        QCoreApplication::installTranslator(own);
}

} // namespace quandrel
