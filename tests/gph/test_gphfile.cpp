// SPDX-License-Identifier: GPL-3.0-or-later

#include "gph/cdlload.h"
#include "gph/gphcodec.h"
#include "gph/gphfile.h"
#include "gph/savefile.h"
#include "settings/settingsstore.h"
#include "widgets/messagebox.h"
#include "gphtesting.h"
#include "tests/support/settingsrecords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace lw {
namespace {

using namespace gphtest;
using lw::testing::EveryGphFieldChanged;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class GphFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QLocale::setDefault(German);
        InstallMessageHook([this](const Message &m) { messages.push_back(m); });
        SetSettingsStore(&store);
    }
    void TearDown() override
    {
        InstallMessageHook({});
        QLocale::setDefault(QLocale::c());
        CdlLoad::TestAnswer = nullptr;
        SetSettingsStore(nullptr);
    }

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QString shown(const QString &file) const { return QDir::toNativeSeparators(file); }

    QTemporaryDir dir;
    MemorySettingsStore store;
    std::vector<Message> messages;
};

TEST_F(GphFileTest, SavingTwiceLeavesOnlyTheSecondContentAndNoTemporaryFile)
{
    const QString file = path("graph.GPH");
    QString error;
    ASSERT_TRUE(SaveFileAtomically(file, "first, and longer than the second", &error));
    ASSERT_TRUE(SaveFileAtomically(file, "second", &error));
    EXPECT_EQ(fileBytes(file), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("graph.GPH")});
}

TEST_F(GphFileTest, UnwritablePlacesFailWithAReason)
{
    QString error;
    EXPECT_FALSE(SaveFileAtomically(path("fehlt/graph.GPH"), "x", &error));
    EXPECT_EQ(error, QStringLiteral("Den Ordner %1 gibt es nicht.").arg(shown(path("fehlt"))));
    EXPECT_FALSE(QFileInfo::exists(path("fehlt/graph.GPH")));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ordner")));
    EXPECT_FALSE(SaveFileAtomically(path("ordner"), "x", &error));
    EXPECT_EQ(error, QStringLiteral("Unter diesem Namen gibt es einen Ordner."));
}

TEST_F(GphFileTest, AReadOnlyFolderKeepsTheOldFile)
{
    const QString folder = path("nurlesen");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("nurlesen")));
    const QString file = folder + QStringLiteral("/graph.GPH");
    writeBytes(file, "old");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(folder).isWritable()) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    QString error;
    EXPECT_FALSE(SaveFileAtomically(file, "new", &error));
    EXPECT_FALSE(error.isEmpty());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(file), "old");
}

#ifdef Q_OS_UNIX
// A full disk, which binds every user: writes beyond the limit fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_previous{};
    void (*m_handler)(int) = nullptr;
};

TEST_F(GphFileTest, AWriteThatFailsHalfwayKeepsTheOldFile)
{
    const QString file = path("graph.GPH");
    const QByteArray old = WriteGph({}, QStringLiteral("x"), Saved, German);
    writeBytes(file, old);
    QString error;
    bool saved = true;
    {
        const FileSizeLimit limit(100);
        saved = SaveFileAtomically(file, QByteArray(5000, 'x'), &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, QString::fromUtf8("Die Datei kann nicht vollständig geschrieben werden "
                                       "(ist der Datenträger voll?)."));
    EXPECT_EQ(fileBytes(file), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
#endif

TEST_F(GphFileTest, SaveGraphReportsAndLoadGraphReadsBack)
{
    const QString file = path("kurve.gph");
    ASSERT_TRUE(SaveGraph(file, EveryGphFieldChanged(), QStringLiteral("3*x+b")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, QStringLiteral("Hinweis"));
    EXPECT_EQ(messages[0].icon, MessageIcon::None);
    EXPECT_EQ(messages[0].text,
              QStringLiteral("Gespeichert unter ") + shown(file)
                  + QStringLiteral(".\nVariablen wurden evtl. mit ihren aktuellen Werten in die "
                                   "Gleichung eingesetzt."));
    EXPECT_EQ(fileBytes(file).split('\n')[3], " 0,05 \r");

    const std::optional<GphContent> loaded = LoadGraph(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->settings, EveryGphFieldChanged());
    EXPECT_EQ(loaded->equation, QStringLiteral("3*x+b"));
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(GphFileTest, FailuresShowFehlerNamingFileAndLine)
{
    const QString bad = path("bad.GPH");
    writeBytes(bad, withLine(17, "Wahr"));
    const QString large = path("large.GPH");
    writeBytes(large, QByteArray(GphMaximumSize + 1, '\n'));
    const struct {
        QString file;
        QString reason;
    } cases[] = {
        {path("fehlt.GPH"), QStringLiteral("Die Datei gibt es nicht.")},
        {bad, QStringLiteral("Zeile 17: erwartet wird True oder False (LinkPoints).")},
        {large, QString::fromUtf8("Die Datei ist größer als 64 KiB und damit keine Graph-Datei.")},
        {dir.path(), QStringLiteral("Das ist ein Ordner, keine Datei.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        messages.clear();
        EXPECT_FALSE(LoadGraph(c.file));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, QStringLiteral("Fehler"));
        EXPECT_EQ(messages[0].text, QStringLiteral("Die Datei %1 kann nicht geladen werden.\n%2")
                                        .arg(shown(c.file), c.reason));
    }

    messages.clear();
    EXPECT_FALSE(SaveGraph(path("fehlt/kurve.GPH"), {}, QStringLiteral("x")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, QStringLiteral("Fehler"));
    EXPECT_EQ(messages[0].text,
              QString::fromUtf8("Der Graph kann nicht unter %1 gespeichert werden.\n"
                                "Den Ordner %2 gibt es nicht.\n"
                                "Eine vorhandene Datei dieses Namens ist unverändert.")
                  .arg(shown(path("fehlt/kurve.GPH")), shown(path("fehlt"))));
}

TEST_F(GphFileTest, ACharacterTheFileCannotHoldIsNamedAndNothingIsWritten)
{
    const QString file = path("kurve.gph");
    writeBytes(file, "alt");
    const struct {
        const char16_t *equation;
        const char16_t *named;
    } cases[] = {
        {u"\u221Ax", u"„√“ (U+221A)"},
        {u"x\u2212"
         u"1",
         u"„−“ (U+2212)"},
        {u"\u03C0*x", u"„π“ (U+03C0)"},
        {u"x+\U0001F600", u"„\U0001F600“ (U+1F600)"},
        {u"x\u0001", u"das Zeichen U+0001,"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.equation).toStdString());
        messages.clear();
        EXPECT_FALSE(SaveGraph(file, {}, QString::fromUtf16(c.equation)));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, QStringLiteral("Fehler"));
        EXPECT_TRUE(messages[0].text.contains(QString::fromUtf16(c.named)))
            << messages[0].text.toStdString();
        EXPECT_EQ(fileBytes(file), "alt");
    }
    // What Windows-1252 holds is saved, a question mark included.
    EXPECT_TRUE(SaveGraph(file, {}, QString::fromUtf16(u"ä*x+€?")));
}

TEST_F(GphFileTest, DialogOffersTheLastChosenNameInBothModes)
{
    std::vector<FileDialogRequest> requests;
    std::optional<QString> answer = path("eins.GPH");
    CdlLoad::TestAnswer = [&](const FileDialogRequest &request) {
        requests.push_back(request);
        return answer;
    };
    CdlLoad cdlLoad(nullptr, dir.path());
    EXPECT_EQ(cdlLoad.objectName(), QStringLiteral("cdlLoad"));
    RememberDialogFolder(path("zuletzt.gph")); // the first dialog starts there

    EXPECT_EQ(cdlLoad.ShowOpen(), path("eins.GPH"));
    answer = std::nullopt;
    EXPECT_EQ(cdlLoad.ShowSave(), std::nullopt);
    EXPECT_EQ(cdlLoad.ShowOpen(), std::nullopt);
    answer = path("zwei");
    EXPECT_EQ(cdlLoad.ShowSave(), path("zwei.gph"));
    EXPECT_EQ(cdlLoad.ShowOpen(), path("zwei"));

    ASSERT_EQ(requests.size(), 5u);
    const QStringList filters{QStringLiteral("Graph-Dateien (*.GPH)"),
                              QStringLiteral("Linienwerk-Arbeitsblatt (*.lwa)"),
                              QStringLiteral("Alle Dateien (*)")};
    using Mode = FileDialogRequest::Mode;
    const struct {
        Mode mode;
        QString title;
        QString selected;
    } expected[] = {
        {Mode::Open, QString::fromUtf8("Datei öffnen"), QString()},
        {Mode::Save, QStringLiteral("Graph speichern"), path("eins.GPH")},
        {Mode::Open, QString::fromUtf8("Datei öffnen"), path("eins.GPH")},
        {Mode::Save, QStringLiteral("Graph speichern"), path("eins.GPH")},
        {Mode::Open, QString::fromUtf8("Datei öffnen"), path("zwei.gph")},
    };
    for (std::size_t i = 0; i < requests.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(requests[i].mode, expected[i].mode);
        EXPECT_EQ(requests[i].title, expected[i].title);
        EXPECT_EQ(requests[i].selectedFile, expected[i].selected);
        EXPECT_EQ(requests[i].directory, dir.path());
        EXPECT_EQ(requests[i].nameFilters, filters);
    }
}

TEST_F(GphFileTest, DialogsStartInTheFolderLastUsedElseInDocuments)
{
    const QString build = path("build");
    const QString installed = path("usr-bin");
    const QString used = path("arbeit");
    for (const QString &folder : {build, installed, used})
        ASSERT_TRUE(QDir().mkpath(folder));
    writeBytes(build + "/CMakeCache.txt", "");
    const struct {
        QString lastUsed;
        QString program;
        QString start;
    } rows[] = {
        {{}, installed, "dokumente"},
        {used, installed, used},
        {path("weg"), installed, "dokumente"}, // the last folder is gone
        {used, build, build},                   // in development, the build folder
    };
    for (const auto &row : rows)
        EXPECT_EQ(StartFolderFor(row.lastUsed, row.program, "dokumente"), row.start)
            << row.lastUsed.toStdString();

    RememberDialogFolder(used + "/kurve.gph");
    EXPECT_EQ(DialogStartFolder(installed), used);
}

TEST_F(GphFileTest, ASaveGetsItsExtensionAndAsksBeforeReplacingAnotherFile)
{
    QString chosen;
    QString filter;
    CdlLoad::TestAnswer = [&](const FileDialogRequest &) {
        return std::optional<FileDialogChoice>({chosen, filter});
    };
    std::vector<Message> questions;
    bool replace = false;
    InstallQuestionHook([&](const Message &question) {
        questions.push_back(question);
        return replace;
    });
    CdlLoad cdlLoad(nullptr, dir.path());
    writeBytes(path("alt.gph"), "alt");
    const struct {
        const char *name;
        QString filter;
        bool replace;
        std::optional<QString> saved;
        int asked;
    } rows[] = {
        {"neu", {}, false, path("neu.gph"), 0},
        {"neu", CdlLoad::WorksheetFilter, false, path("neu.lwa"), 0},
        {"alt", {}, false, std::nullopt, 1},        // a pupil's older file stays
        {"alt", {}, true, path("alt.gph"), 1},      // unless they say so
        {"alt.gph", {}, false, path("alt.gph"), 0}, // the file last saved to
    };
    for (const auto &row : rows) {
        chosen = path(row.name);
        filter = row.filter;
        replace = row.replace;
        questions.clear();
        EXPECT_EQ(cdlLoad.ShowSave(), row.saved) << row.name;
        ASSERT_EQ(int(questions.size()), row.asked) << row.name;
        if (row.asked) {
            EXPECT_EQ(questions[0].text, "Die Datei " + QDir::toNativeSeparators(path("alt.gph"))
                                             + " gibt es schon. Ersetzen?");
        }
    }
    InstallQuestionHook({});
}

} // namespace
} // namespace lw
