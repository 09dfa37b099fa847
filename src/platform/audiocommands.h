#pragma once

#include <QObject>
#include <QString>

namespace quandrel {

class AudioBackend;

// The program's audio command interface: textual commands such as
// "open <path> type waveaudio alias voice1", "status voice1 mode" or
// "play voice1 from 0 to 3000", one alias open at a time.
class AudioCommands : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Sends one command. Returns the answer ("" when there is none); *error,
    // when given, receives 0 on success or a non-zero error code.
    virtual QString mciSendString(const QString& command, int* error = nullptr) = 0;
    // Number of wave-output devices; 0 means that nothing can be played now.
    virtual int waveOutGetNumDevs() = 0;

signals:
    // The open sound stopped playing by itself (it reached its end or its cut).
    void playEnded();
};

// The mode word of an alias ("playing", "stopped"; "" when it is not open),
// cut at its first NUL character.
QString mciMode(AudioCommands& audio, const QString& alias);

// A file path as the open command carries it: as it is, or in double quotes
// when blanks at its ends (or quotes around it) would otherwise be lost.
QString mciPathArgument(const QString& path);

// Command layer over an AudioBackend.
class MciCommandLayer final : public AudioCommands {
    Q_OBJECT
public:
    explicit MciCommandLayer(AudioBackend& backend, QObject* parent = nullptr);
    ~MciCommandLayer() override;

    QString mciSendString(const QString& command, int* error = nullptr) override;
    int waveOutGetNumDevs() override;

private:
    AudioBackend& backend_;
    QString alias_; // empty while nothing is open
    bool timeFormatMs_ = false;
    bool playing_ = false; // a play was started and has neither ended nor been stopped
};

} // namespace quandrel
