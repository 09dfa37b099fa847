// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace quandrel {

// One entry of the built-in sound catalogue.
struct CatalogSound {
    const char* listItem;     // text in the sound list; empty for READY
    const char* resourceName; // "BLEEP"
    const char* fileName;     // "tmpBleep.$$$", written into the sound folder
};

inline constexpr int SoundListNone = 0;
inline constexpr int SoundListPlayFile = 25;
inline constexpr int SoundListCount = 26;
inline constexpr int FirstDishSound = 7;
inline constexpr int LastDishSound = 24;

inline const QString NoSound = QStringLiteral("None");

// The 24 built-in sounds at list positions 1..24, in list order.
const std::array<CatalogSound, 24>& builtinSounds();
// The recording that closes each dish announcement; not in the list.
const CatalogSound& readySound();
// The 26 list items: "None", the 24 built-in sounds, "Play File...".
QStringList soundListItems();
// The 25 recordings in the order they are written at start-up.
QStringList extractionOrder();

// What a timer plays: a file path ("None" for no sound), its position in the
// sound list (the dish sounds announce themselves) and the name it is shown
// under.
struct SoundPick {
    QString path = NoSound;
    int listIndex = SoundListNone;
    QString shownName = NoSound;

    bool isSilent() const { return path == NoSound; }
    bool isDish() const { return listIndex >= FirstDishSound && listIndex <= LastDishSound; }
};

// The pick of list position index (1..24) with the recordings in folder.
SoundPick builtinPick(const QString& folder, int index);

// The catalogue entry of a resource name; nullptr when there is none.
const CatalogSound* soundByResource(const QString& resourceName);
// Embedded resource path of a recording (":/sounds/bleep.wav").
QString recordingResourcePath(const QString& resourceName);
// Where a recording lives in the sound folder.
QString soundFilePath(const QString& folder, const CatalogSound& sound);

// The display name of a picked sound file: its file name up to its first
// ".wav" (in any case), or the whole file name when it has none; "None" for
// an empty path.
QString pickedFileName(const QString& path);

} // namespace quandrel
