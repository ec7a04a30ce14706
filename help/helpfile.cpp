// SPDX-License-Identifier: GPL-3.0-or-later

#include "helpfile.h"

#include "help/datafile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

namespace lw {

namespace {

constexpr int HighestTopic = 32767;

QString &pathOverride()
{
    static QString path;
    return path;
}

// Digits only, so that "+13", " 13" or "1e1" are refused rather than guessed at.
std::optional<int> topicNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    int number = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c.unicode() - u'0');
    }
    if (number < 1 || number > HighestTopic)
        return std::nullopt;
    return number;
}

class Parser {
public:
    void readLine(int line, QStringView text);
    HelpFile finish();

private:
    void readHeader(int line, QStringView text);
    void readBody(int line, QStringView text);
    void closeTopic();
    void report(int line, const QString &description)
    {
        m_file.problems.push_back({line, description});
    }

    HelpFile m_file;
    std::optional<HelpTopic> m_topic;
    int m_topicLine = 0;
    QStringList m_paragraphs;
    QString m_paragraph;
    bool m_skipping = false; // the lines after a refused header, or stray text already reported
    std::map<int, int> m_headerLines;
};

void Parser::readLine(int line, QStringView text)
{
    if (text.startsWith(u'#'))
        return;
    if (text.startsWith(u'['))
        readHeader(line, text);
    else
        readBody(line, text);
}

void Parser::readHeader(int line, QStringView text)
{
    closeTopic();
    m_skipping = true;
    const qsizetype close = text.indexOf(u']');
    if (close < 0) {
        report(line, QStringLiteral("Der Kopfzeile fehlt die schließende Klammer „]“."));
        return;
    }
    const QStringView numberText = text.sliced(1, close - 1);
    const std::optional<int> number = topicNumber(numberText);
    if (!number) {
        report(line,
               QStringLiteral("Ungültige Themennummer „%1“: erlaubt sind die Zahlen 1 bis %2.")
                   .arg(numberText.toString())
                   .arg(HighestTopic));
        return;
    }
    const QString title = text.sliced(close + 1).trimmed().toString();
    if (title.isEmpty()) {
        report(line, QStringLiteral("Thema %1 hat keinen Titel.").arg(*number));
        return;
    }
    if (const auto first = m_headerLines.find(*number); first != m_headerLines.end()) {
        report(line,
               QStringLiteral("Thema %1 steht schon in Zeile %2.").arg(*number).arg(first->second));
        return;
    }
    m_headerLines[*number] = line;
    m_topic = HelpTopic{*number, title, {}};
    m_topicLine = line;
    m_skipping = false;
}

void Parser::readBody(int line, QStringView text)
{
    const QStringView words = text.trimmed();
    if (m_topic) {
        if (words.isEmpty()) {
            if (!m_paragraph.isEmpty())
                m_paragraphs.append(std::exchange(m_paragraph, {}));
        } else {
            if (!m_paragraph.isEmpty())
                m_paragraph += u' ';
            m_paragraph += words;
        }
    } else if (!m_skipping && !words.isEmpty()) {
        report(line, QStringLiteral("Text vor dem ersten Thema."));
        m_skipping = true;
    }
}

void Parser::closeTopic()
{
    if (!m_topic)
        return;
    if (!m_paragraph.isEmpty())
        m_paragraphs.append(std::exchange(m_paragraph, {}));
    m_topic->text = m_paragraphs.join(u'\n');
    m_paragraphs.clear();
    if (m_topic->text.isEmpty())
        report(m_topicLine, QStringLiteral("Thema %1 hat keinen Text.").arg(m_topic->number));
    else
        m_file.topics[m_topic->number] = *m_topic;
    m_topic.reset();
}

HelpFile Parser::finish()
{
    closeTopic();
    return std::move(m_file);
}

} // namespace

std::optional<HelpTopic> HelpFile::FindTopic(int number) const
{
    const auto found = topics.find(number);
    if (found == topics.end())
        return std::nullopt;
    return found->second;
}

HelpFile ParseHelpFile(const QByteArray &utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(utf8);
    Parser parser;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        parser.readLine(static_cast<int>(i + 1), line);
    }
    HelpFile file = parser.finish();
    if (decoder.hasError())
        file.problems.insert(file.problems.begin(),
                             {0, QStringLiteral("Die Datei ist nicht in UTF-8 geschrieben.")});
    return file;
}

HelpFileRead ReadHelpFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {HelpFileStatus::Missing, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {HelpFileStatus::Unreadable, {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {HelpFileStatus::Unreadable, {}};
    return {HelpFileStatus::Read, ParseHelpFile(bytes)};
}

QString HelpFilePath()
{
    if (!pathOverride().isEmpty())
        return pathOverride();
    return FindDataFile(QStringLiteral("LW20.hlp"));
}

void SetHelpFilePath(const QString &path)
{
    pathOverride() = path;
}

} // namespace lw
