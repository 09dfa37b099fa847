// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace quandrel {

// Writes the embedded recording `resourceName` to `path` unless a whole wave
// file is already there (a recording of the user's own stays, or a link to
// one). Nothing outside path's folder is written. The bytes go to a temporary
// file in the same folder that is renamed into place, so an interrupted start
// never leaves a truncated recording behind. Returns false when the file
// could not be written.
bool writeRecording(const QString& resourceName, const QString& path);

// Writes every built-in recording into folder (created when missing), in the
// start-up order. Returns the list names of the recordings that could not be
// written, empty when all are in place.
QStringList extractRecordings(const QString& folder);

// Writes again the built-in recording at path when its file is not a whole
// wave (gone, emptied, spoiled or cut short). Paths outside folder, and whole
// waves, are left alone.
void restoreRecording(const QString& folder, const QString& path);

// The folder of the user's own data where the recordings live.
QString defaultSoundFolder();

} // namespace quandrel
