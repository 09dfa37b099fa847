#include "platform/audiocommands.h"

#include "platform/audiobackend.h"

#include <QList>
#include <QStringView>

#include <limits>

namespace quandrel {
namespace {

// Error codes as the Windows multimedia API numbers them, so that callers
// that log or compare them see familiar values.
constexpr int kUnrecognizedKeyword = 259;
constexpr int kUnrecognizedCommand = 261;
constexpr int kHardware = 262;
constexpr int kInvalidDeviceName = 263;
constexpr int kBadInteger = 270;
constexpr int kMissingParameter = 273;
constexpr int kFileNotFound = 275;
constexpr int kOutOfRange = 282;
constexpr int kDuplicateAlias = 289;

bool same(QStringView word, QStringView keyword)
{
    return word.compare(keyword, Qt::CaseInsensitive) == 0;
}

// Removes the last blank-separated word from text and returns it; text keeps
// what stood before it, including the blanks that separated them.
QStringView takeLastWord(QStringView& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    qsizetype begin = end;
    while (begin > 0 && !text[begin - 1].isSpace())
        --begin;
    const QStringView word = text.sliced(begin, end - begin);
    text = text.first(begin);
    return word;
}

// Reads "<path> type waveaudio alias <alias>" from the right: the path is
// everything before the last "type waveaudio alias", so it may hold blanks
// and even those words. A path in double quotes loses its quotes.
bool parseOpenArguments(QStringView arguments, QString* path, QString* alias)
{
    QStringView rest = arguments;
    const QStringView name = takeLastWord(rest);
    if (name.isEmpty())
        return false;
    for (const QStringView keyword : {u"alias", u"waveaudio", u"type"}) {
        if (!same(takeLastWord(rest), keyword))
            return false;
    }
    QStringView file = rest.trimmed();
    if (file.size() >= 2 && file.startsWith(u'"') && file.endsWith(u'"'))
        file = file.sliced(1, file.size() - 2);
    if (file.isEmpty())
        return false;
    *path = file.toString();
    *alias = name.toString();
    return true;
}

QList<QStringView> splitWords(QStringView text)
{
    QList<QStringView> words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const qsizetype begin = i;
        while (i < text.size() && !text[i].isSpace())
            ++i;
        if (i > begin)
            words.append(text.sliced(begin, i - begin));
    }
    return words;
}

// A non-negative decimal number that fits an int; -1 otherwise.
int parsePosition(QStringView word)
{
    if (word.isEmpty() || word.size() > 10)
        return -1;
    qint64 value = 0;
    for (const QChar c : word) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= std::numeric_limits<int>::max() ? int(value) : -1;
}

} // namespace

MciCommandLayer::MciCommandLayer(AudioBackend& backend, QObject* parent) : AudioCommands(parent), backend_(backend)
{
    backend_.onFinished = [this] {
        // Only a play that is still ours may end: a stale report after a stop
        // or a close is dropped.
        if (!playing_)
            return;
        playing_ = false;
        emit playEnded();
    };
}

MciCommandLayer::~MciCommandLayer()
{
    backend_.onFinished = nullptr;
    if (!alias_.isEmpty()) {
        backend_.stop();
        backend_.unload();
    }
}

QString MciCommandLayer::mciSendString(const QString& command, int* error)
{
    int code = 0;
    QString answer;
    const auto fail = [&code](int value) { code = value; };

    const QStringView text = QStringView(command).trimmed();
    qsizetype keywordEnd = 0;
    while (keywordEnd < text.size() && !text[keywordEnd].isSpace())
        ++keywordEnd;
    const QStringView keyword = text.first(keywordEnd);

    if (same(keyword, u"open")) {
        QString path;
        QString alias;
        if (!parseOpenArguments(text.sliced(keywordEnd), &path, &alias))
            fail(kMissingParameter);
        else if (!alias_.isEmpty())
            fail(kDuplicateAlias);
        else if (!backend_.load(path))
            fail(kFileNotFound);
        else {
            alias_ = alias;
            timeFormatMs_ = false;
            playing_ = false;
        }
    } else if (keyword.isEmpty()) {
        fail(kUnrecognizedCommand);
    } else {
        const QList<QStringView> words = splitWords(text);
        const bool known = same(keyword, u"set") || same(keyword, u"status") || same(keyword, u"play") ||
                           same(keyword, u"stop") || same(keyword, u"close");
        if (!known)
            fail(kUnrecognizedCommand);
        else if (words.size() < 2 || alias_.isEmpty() || !same(words[1], alias_))
            fail(kInvalidDeviceName);
        else if (same(keyword, u"set")) {
            if (words.size() == 5 && same(words[2], u"time") && same(words[3], u"format") &&
                (same(words[4], u"ms") || same(words[4], u"milliseconds")))
                timeFormatMs_ = true;
            else
                fail(kUnrecognizedKeyword);
        } else if (same(keyword, u"status")) {
            if (words.size() != 3)
                fail(kUnrecognizedKeyword);
            else if (same(words[2], u"length"))
                answer = QString::number(backend_.lengthMs());
            else if (same(words[2], u"mode"))
                answer = backend_.isPlaying() ? QStringLiteral("playing") : QStringLiteral("stopped");
            else
                fail(kUnrecognizedKeyword);
        } else if (same(keyword, u"play")) {
            int from = 0;
            int to = -1;
            for (qsizetype i = 2; code == 0 && i < words.size(); i += 2) {
                const bool isFrom = same(words[i], u"from");
                if (!isFrom && !same(words[i], u"to"))
                    fail(kUnrecognizedKeyword);
                else if (i + 1 >= words.size())
                    fail(kMissingParameter);
                else if (const int position = parsePosition(words[i + 1]); position < 0)
                    fail(kBadInteger);
                else
                    (isFrom ? from : to) = position;
            }
            // The sound always starts at its beginning; a cut at "to" ends it early.
            if (code == 0 && (from != 0 || (to >= 0 && to < from)))
                fail(kOutOfRange);
            if (code == 0) {
                playing_ = backend_.play(to < 0 ? -1 : to - from);
                if (!playing_)
                    fail(kHardware);
            }
        } else if (words.size() != 2) {
            fail(kUnrecognizedKeyword);
        } else if (same(keyword, u"stop")) {
            playing_ = false;
            backend_.stop();
        } else { // close
            playing_ = false;
            backend_.stop();
            backend_.unload();
            alias_.clear();
            timeFormatMs_ = false;
        }
    }

    if (error)
        *error = code;
    return code == 0 ? answer : QString();
}

int MciCommandLayer::waveOutGetNumDevs()
{
    return backend_.deviceCount();
}

QString mciPathArgument(const QString& path)
{
    const bool bare = path == path.trimmed() && !(path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'));
    return bare ? path : QLatin1Char('"') + path + QLatin1Char('"');
}

QString mciMode(AudioCommands& audio, const QString& alias)
{
    const QString answer = audio.mciSendString(QStringLiteral("status ") + alias + QStringLiteral(" mode"));
    const qsizetype nul = answer.indexOf(QChar(u'\0'));
    return nul < 0 ? answer : answer.left(nul);
}

} // namespace quandrel
