// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpfile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

using namespace lw;

namespace {

const QString InstalledHelpFile = QStringLiteral(LW_PROGRAM_DIR "/LW20.hlp");

using Topic = std::tuple<int, QString, QString>;
using Problem = std::pair<int, QString>; // line and a part of the description

struct ParseCase {
    const char *name;
    QByteArray input;
    std::vector<Topic> topics;
    std::vector<Problem> problems;
};

void ExpectParsed(std::initializer_list<ParseCase> cases)
{
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.name);
        const HelpFile file = ParseHelpFile(c.input);
        std::vector<Topic> topics;
        for (const auto &[number, topic] : file.topics)
            topics.emplace_back(number, topic.title, topic.text);
        EXPECT_EQ(topics, c.topics);
        ASSERT_EQ(file.problems.size(), c.problems.size());
        for (std::size_t i = 0; i < c.problems.size(); ++i) {
            EXPECT_EQ(file.problems[i].line, c.problems[i].first);
            EXPECT_TRUE(file.problems[i].description.contains(c.problems[i].second))
                << file.problems[i].description.toStdString();
        }
    }
}

TEST(HelpFileText, ParsesGoodEntries)
{
    ExpectParsed({
        {"paragraphs",
         "# comment\n[2] Titel\nZeile eins\n  Zeile zwei  \n\n\nAbsatz zwei\n\n",
         {{2, "Titel", "Zeile eins Zeile zwei\nAbsatz zwei"}},
         {}},
        {"several topics",
         "[13] Funktionsgleichung\nA.\n[14] Zeichnen und Stop\nB.\n",
         {{13, "Funktionsgleichung", "A."}, {14, "Zeichnen und Stop", "B."}},
         {}},
        {"BOM, CRLF, umlauts",
         "\xEF\xBB\xBF[5] \xC3\x9C"
         "ber\r\nGr\xC3\xB6\xC3\x9F"
         "e.\r\n",
         {{5, "Über", "Größe."}},
         {}},
        {"comment inside a topic", "[3] T\nA\n# note\nB\n", {{3, "T", "A B"}}, {}},
        {"indented bracket is text", "[2] A\n [3] B\n", {{2, "A", "[3] B"}}, {}},
        {"largest number", "[32767] T\nX\n", {{32767, "T", "X"}}, {}},
        {"empty file", "", {}, {}},
    });
}

TEST(HelpFileText, KeepsTheGoodTopicsOfAMalformedFileAndNamesEachProblem)
{
    ExpectParsed({
        {"text before the first topic",
         "Vorwort\nnoch mehr\n[2] T\nX\n",
         {{2, "T", "X"}},
         {{1, "vor dem ersten Thema"}}},
        {"header without bracket", "[2 T\nX\n[3] U\nY\n", {{3, "U", "Y"}}, {{1, "„]“"}}},
        {"letters", "[x] T\nX\n", {}, {{1, "„x“"}}},
        {"zero", "[0] T\nX\n", {}, {{1, "„0“"}}},
        {"too large", "[32768] T\nX\n", {}, {{1, "„32768“"}}},
        {"sign", "[+3] T\nX\n", {}, {{1, "„+3“"}}},
        {"blank in number", "[ 3] T\nX\n", {}, {{1, "„ 3“"}}},
        {"empty number", "[] T\nX\n", {}, {{1, "„“"}}},
        {"no title", "[4]   \nText\n", {}, {{1, "Thema 4 hat keinen Titel"}}},
        {"duplicate keeps the first",
         "[2] A\nX\n\n[2] B\nY\n",
         {{2, "A", "X"}},
         {{4, "Thema 2 steht schon in Zeile 1"}}},
        {"no text",
         "[2] A\n\n# only a comment\n[3] B\nY\n",
         {{3, "B", "Y"}},
         {{1, "Thema 2 hat keinen Text"}}},
        {"no text at the end", "[2] A\nX\n[3] B\n", {{2, "A", "X"}}, {{3, "Thema 3"}}},
        {"not UTF-8", "[2] A\n\xFF\n", {{2, "A", "\xEF\xBF\xBD"}}, {{0, "UTF-8"}}},
    });
}

TEST(HelpFileText, FindTopicAnswersOnlyForTopicsItHolds)
{
    const HelpFile file = ParseHelpFile("[2] A\nX\n[4]\nY\n");
    ASSERT_TRUE(file.FindTopic(2));
    EXPECT_EQ(file.FindTopic(2)->title, "A");
    for (int missing : {0, 1, 3, 4, -2})
        EXPECT_FALSE(file.FindTopic(missing)) << missing;
}

TEST(HelpFileText, ReadingTellsMissingFromUnreadable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("LW20.hlp"));
    EXPECT_EQ(ReadHelpFile(dir.filePath("nowhere.hlp")).status, HelpFileStatus::Missing);
    EXPECT_EQ(ReadHelpFile(dir.filePath("LW20.hlp")).status, HelpFileStatus::Unreadable);
    const HelpFileRead installed = ReadHelpFile(InstalledHelpFile);
    EXPECT_EQ(installed.status, HelpFileStatus::Read);
    for (const HelpProblem &problem : installed.file.problems)
        ADD_FAILURE() << "line " << problem.line << ": " << problem.description.toStdString();
}

} // namespace
