// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QIODevice;

namespace quandrel {

// What the header of a RIFF WAVE file says about its sound.
struct WaveFormat {
    enum Encoding { Pcm, Float, Other }; // Other: compressed (ADPCM, A-law...)
    Encoding encoding = Pcm;
    int channels = 0;
    int rate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;
    qint64 dataOffset = 0; // where the samples start in the file
    qint64 dataBytes = 0;  // how many bytes of samples the file holds
    bool cutShort = false; // the file ends before the samples its header declares

    // Play time in milliseconds; 0 when it cannot be told from the header.
    qint64 lengthMs() const;
};

// Reads the header of the wave file on `file` (open for reading). Nothing,
// with the reason in *why, when it is not a wave file that can be played:
// not RIFF WAVE, no format or no sample data, a header cut short, an
// implausible format. Samples declared past the end of the file are taken
// as the file holds them.
std::optional<WaveFormat> readWaveHeader(QIODevice& file, QString* why = nullptr);

// The same for the file at path.
std::optional<WaveFormat> readWaveFile(const QString& path, QString* why = nullptr);

} // namespace quandrel
