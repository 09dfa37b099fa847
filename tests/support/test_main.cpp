// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Tests are headless; a QApplication without a display would abort.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    quandrel::installTranslations(); // English: the C locale's texts
    return RUN_ALL_TESTS();
}
