// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/soundcatalog.h"

#include <QDir>

#include <QStringList>
#include <algorithm>

namespace quandrel {

const std::array<CatalogSound, 24>& builtinSounds()
{
    static const std::array<CatalogSound, 24> sounds{{
        {"Bleep", "BLEEP", "tmpBleep.$$$"},
        {"Bleep2", "BLEEP2", "tmpBlee2.$$$"},
        {"Ding", "DING", "tmpDing.$$$"},
        {"Siren", "SIREN", "tmpSiren.$$$"},
        {"Tinkle", "TINKLE", "tmpTnkle.$$$"},
        {"Whoop", "WHOOP", "tmpWhoop.$$$"},
        {"Biscuits", "BISCUITS", "tmpBiskt.$$$"},
        {"Bread", "BREAD", "tmpBread.$$$"},
        {"Cake", "CAKE", "tmpCake.$$$"},
        {"Eggs", "EGGS", "tmpEggs.$$$"},
        {"Fish", "FISH", "tmpFish.$$$"},
        {"GreenVeg", "GREENVEG", "tmpGrveg.$$$"},
        {"Milk", "MILK", "tmpMilk.$$$"},
        {"Pasta", "PASTA", "tmpPasta.$$$"},
        {"Pie", "PIE", "tmpPie.$$$"},
        {"Pizza", "PIZZA", "tmpPizza.$$$"},
        {"Poultry", "POULTRY", "tmpPltry.$$$"},
        {"Pudding", "PUDDING", "tmpPudng.$$$"},
        {"Pulses", "PULSES", "tmpPulse.$$$"},
        {"RedMeat", "REDMEAT", "tmpRMeat.$$$"},
        {"Rice", "RICE", "tmpRice.$$$"},
        {"Seafood", "SEAFOOD", "tmpSeafd.$$$"},
        {"Soup", "SOUP", "tmpSoup.$$$"},
        {"Veges", "VEGES", "tmpVeges.$$$"},
    }};
    return sounds;
}

const CatalogSound& readySound()
{
    static const CatalogSound ready{"", "READY", "tmpReady.$$$"};
    return ready;
}

QStringList soundListItems()
{
    QStringList items{NoSound};
    for (const CatalogSound& s : builtinSounds())
        items << QString::fromLatin1(s.listItem);
    items << QStringLiteral("Play File...");
    return items;
}

QStringList extractionOrder()
{
    return {QStringLiteral("BISCUITS"), QStringLiteral("BLEEP"),   QStringLiteral("BLEEP2"),  QStringLiteral("BREAD"),
            QStringLiteral("CAKE"),     QStringLiteral("DING"),    QStringLiteral("EGGS"),    QStringLiteral("FISH"),
            QStringLiteral("GREENVEG"), QStringLiteral("MILK"),    QStringLiteral("PASTA"),   QStringLiteral("PIE"),
            QStringLiteral("PIZZA"),    QStringLiteral("POULTRY"), QStringLiteral("PUDDING"), QStringLiteral("PULSES"),
            QStringLiteral("READY"),    QStringLiteral("REDMEAT"), QStringLiteral("RICE"),    QStringLiteral("SEAFOOD"),
            QStringLiteral("SIREN"),    QStringLiteral("SOUP"),    QStringLiteral("TINKLE"),  QStringLiteral("VEGES"),
            QStringLiteral("WHOOP")};
}

const CatalogSound* soundByResource(const QString& resourceName)
{
    if (resourceName == QLatin1String(readySound().resourceName))
        return &readySound();
    for (const CatalogSound& s : builtinSounds()) {
        if (resourceName == QLatin1String(s.resourceName))
            return &s;
    }
    return nullptr;
}

QString recordingResourcePath(const QString& resourceName)
{
    return QStringLiteral(":/sounds/") + resourceName.toLower() + QStringLiteral(".wav");
}

QString soundFilePath(const QString& folder, const CatalogSound& sound)
{
    return QDir(folder).filePath(QString::fromLatin1(sound.fileName));
}

SoundPick builtinPick(const QString& folder, int index)
{
    const CatalogSound& sound = builtinSounds()[size_t(index - 1)];
    return {soundFilePath(folder, sound), index, QString::fromLatin1(sound.listItem)};
}

QString pickedFileName(const QString& path)
{
    if (path.isEmpty())
        return NoSound;
    // The file's own name, whatever its folders are called, up to its ".wav".
    const qsizetype separator = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = path.mid(separator + 1);
    const qsizetype wav = name.indexOf(QLatin1String(".wav"), 0, Qt::CaseInsensitive);
    return wav >= 0 ? name.left(wav) : name;
}

} // namespace quandrel
