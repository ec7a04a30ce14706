#include "gph/cdlload.h"
#include "gph/gphcodec.h"
#include "gph/gphfile.h"
#include "widgets/messagebox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace lw {
namespace {

const QLocale German(QLocale::German, QLocale::Germany);
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QDateTime Saved(QDate(2024, 3, 5), QTime(14, 5, 9));

// The file a fresh program writes for the equation x in Germany.
const QByteArrayList DefaultLines{
    "DLinienwerk20==V2.00.00",
    "05.03.24",
    "14:05:09",
    " 0,1 ",
    " 0 ",
    " 0 ",
    " 0 ",
    " 0 ",
    " 1 ",
    " 1 ",
    " 1 ",
    " 1 ",
    "-20 ",
    " 20 ",
    " 20 ",
    " 20 ",
    "True",
    "False",
    "x",
    "",
};

QByteArray joined(QByteArrayList lines, const QByteArray &end = "\r\n")
{
    return lines.join(end) + end;
}

QByteArray withLine(int line, const QByteArray &text)
{
    QByteArrayList lines = DefaultLines;
    lines[line - 1] = text;
    return joined(lines);
}

QByteArrayList writtenLines(const GraphSettingsRecord &settings, const QString &equation,
                            const QLocale &locale)
{
    QByteArrayList lines = WriteGph(settings, equation, Saved, locale).split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

// Every field away from its default and from the others.
GraphSettingsRecord everyFieldSet()
{
    GraphSettingsRecord s;
    s.Precision = 0.05f;
    s.ScreenCentralX = -5;
    s.ScreenCentralY = 7;
    s.OriginX = -32768;
    s.OriginY = 32767;
    s.PutMarkEachX = 2;
    s.PutMarkEachY = 3;
    s.PutNumberEachX = 4;
    s.PutNumberEachY = 0;
    s.CalcFrom = -2.5f;
    s.CalcTo = 1234.567f;
    s.GraphScaleX = 40;
    s.GraphScaleY = 10;
    s.LinkPoints = false;
    s.AlwaysDeleteGraph = true;
    return s;
}

TEST(GphWriter, DefaultSettingsInGermanyByteForByte)
{
    EXPECT_EQ(WriteGph(GraphSettingsRecord{}, QStringLiteral("x"), Saved, German),
              joined(DefaultLines));
}

TEST(GphWriter, EnglishDateTimeAndNumbers)
{
    const QByteArrayList lines = writtenLines(GraphSettingsRecord{}, QStringLiteral("x"), English);
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[1], "3/5/24");
    EXPECT_EQ(lines[2], "2:05:09 PM");
    EXPECT_EQ(lines[3], " 0.1 ");
    EXPECT_EQ(lines.mid(4), DefaultLines.mid(4));
}

TEST(GphWriter, NumberForms)
{
    const struct {
        float value;
        const char *german;
        const char *english;
    } cases[] = {
        {-2.5f, "-2,5 ", "-2.5 "},
        {2.5f, " 2,5 ", " 2.5 "},
        {0.001f, " 0,001 ", " 0.001 "},
        {1234567.f, " 1234567 ", " 1234567 "},
        {1.f / 3, " 0,3333333 ", " 0.3333333 "},
        {1e10f, " 1E+10 ", " 1E+10 "},
        {0.f, " 0 ", " 0 "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.german);
        GraphSettingsRecord s;
        s.CalcFrom = c.value;
        EXPECT_EQ(writtenLines(s, {}, German)[12], c.german);
        EXPECT_EQ(writtenLines(s, {}, English)[12], c.english);
    }
    GraphSettingsRecord s;
    s.OriginX = -32768;
    s.OriginY = 32767;
    EXPECT_EQ(writtenLines(s, {}, German)[6], "-32768 ");
    EXPECT_EQ(writtenLines(s, {}, German)[7], " 32767 ");
}

TEST(GphWriter, LocalesWithOtherDigitsWritePlainNumbers)
{
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    const QByteArray bytes = WriteGph(everyFieldSet(), QStringLiteral("x"), Saved, arabic);
    EXPECT_EQ(bytes.split('\n')[3], " 0.05 \r");
    const GphReadResult read = ReadGph(bytes, German);
    ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
    EXPECT_EQ(read.content->settings, everyFieldSet());
}

TEST(GphWriter, TimeInTheUsersLongFormatWithoutZone)
{
    const QTime time(14, 5, 9);
    EXPECT_EQ(GphTimeText(time, German), QStringLiteral("14:05:09"));
    EXPECT_EQ(GphTimeText(time, English), QStringLiteral("2:05:09 PM"));
    EXPECT_EQ(GphTimeText(time, QLocale(QLocale::Chinese, QLocale::China)),
              QStringLiteral("14:05:09"));
}

TEST(GphWriter, EquationInWindows1252RoundTrips)
{
    const struct {
        QString equation;
        QByteArray line;
        QString readBack;
    } cases[] = {
        {QString::fromUtf16(u"ä*x+€"), "\xE4*x+\x80", QString::fromUtf16(u"ä*x+€")},
        {QString::fromUtf16(u"Ÿ–ß"), "\x9F\x96\xDF", QString::fromUtf16(u"Ÿ–ß")},
        {QString::fromUtf16(u"√x"), "?x", QStringLiteral("?x")},
        {QString::fromUtf16(u"x+\U0001F600"), "x+?", QStringLiteral("x+?")},
        {QString::fromUtf16(u"\u0081x"), "?x", QStringLiteral("?x")},
        {QStringLiteral("a\r\nb"), "a??b", QStringLiteral("a??b")},
        {QStringLiteral(" \tx "), " \tx ", QStringLiteral(" \tx ")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const QByteArrayList lines = writtenLines({}, c.equation, German);
        ASSERT_EQ(lines.size(), 20);
        EXPECT_EQ(lines[18], c.line);
        const GphReadResult read = ReadGph(WriteGph({}, c.equation, Saved, German), English);
        ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
        EXPECT_EQ(read.content->equation, c.readBack);
    }
}

TEST(GphReader, RoundTripsAcrossLocales)
{
    const QLocale locales[] = {German, English, QLocale::c()};
    for (const QLocale &writing : locales) {
        for (const QLocale &reading : locales) {
            SCOPED_TRACE(writing.name().toStdString() + " -> " + reading.name().toStdString());
            const QString equation = QStringLiteral("  SUM(PRO(2,5;x);b) ");
            const GphReadResult read =
                ReadGph(WriteGph(everyFieldSet(), equation, Saved, writing), reading);
            ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
            EXPECT_EQ(read.content->settings, everyFieldSet());
            EXPECT_EQ(read.content->equation, equation);
        }
    }
}

TEST(GphReader, ToleratesWhatOtherWritersDo)
{
    GraphSettingsRecord precise;
    precise.Precision = 0.5f;
    const struct {
        const char *what;
        QByteArray bytes;
        GraphSettingsRecord settings;
    } cases[] = {
        {"CR LF", joined(DefaultLines), {}},
        {"LF", joined(DefaultLines, "\n"), {}},
        {"CR", joined(DefaultLines, "\r"), {}},
        {"no line 20", joined(DefaultLines.mid(0, 19)), {}},
        {"no end after line 19", joined(DefaultLines.mid(0, 19)).chopped(2), {}},
        {"lines after 20", joined(DefaultLines + QByteArrayList{"junk", "\x81"}), {}},
        {"any header", withLine(1, "\x81\x00 not a header"), {}},
        {"date and time", withLine(2, "gestern").replace("14:05:09", "\xFF"), {}},
        {"tabs and blanks", withLine(4, "\t 0,5\t "), precise},
        {"a point", withLine(4, "0.5"), precise},
        {"a plus", withLine(4, "+0,5"), precise},
        {"truth in capitals", withLine(17, " TRUE "), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const GphReadResult read = ReadGph(c.bytes, German);
        ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
        EXPECT_EQ(read.content->settings, c.settings);
        EXPECT_EQ(read.content->equation, QStringLiteral("x"));
    }
    EXPECT_EQ(ReadGph(withLine(19, "  a * x "), German).content->equation,
              QStringLiteral("  a * x "));
    EXPECT_EQ(ReadGph(withLine(19, ""), German).content->equation, QString());
}

TEST(GphReader, RefusesEveryKindOfBadFileNamingTheFirstBadLine)
{
    QByteArray twoErrors = withLine(9, "neun");
    twoErrors.replace(" 0 \r\n 0 \r\n", " 0 \r\nsechs\r\n");
    const QByteArray exactlyAtLimit = joined(DefaultLines).leftJustified(GphMaximumSize, '\n');
    ASSERT_TRUE(ReadGph(exactlyAtLimit, German).ok());

    const struct {
        const char *what;
        QByteArray bytes;
        int line;
        const char *expected;
    } cases[] = {
        {"empty", "", 1, "Zeile 1 fehlt: eine Graph-Datei hat mindestens 19 Zeilen."},
        {"three empty lines", "\r\n\r\n\r\n", 4, "Zeile 4 fehlt"},
        {"18 lines", joined(DefaultLines.mid(0, 18)), 19, "Zeile 19 fehlt"},
        {"text as precision", withLine(4, "abc"), 4,
         "Zeile 4: erwartet wird eine Dezimalzahl größer als 0 (Precision)."},
        {"two commas", withLine(4, "0,1,2"), 4, "Dezimalzahl größer als 0 (Precision)"},
        {"text as integer", withLine(5, "abc"), 5,
         "Zeile 5: erwartet wird eine ganze Zahl von -32768 bis 32767 (ScreenCentralX)."},
        {"fraction as integer", withLine(6, "1,5"), 6, "ganze Zahl"},
        {"point fraction as integer", withLine(6, "1.5"), 6, "ganze Zahl"},
        {"integer too large", withLine(15, "40000"), 15, "(GraphScaleX)"},
        {"integer too small", withLine(16, "-32769"), 16, "(GraphScaleY)"},
        {"zero scale", withLine(15, " 0 "), 15,
         "Zeile 15: erwartet wird eine ganze Zahl von 1 bis 32767 (GraphScaleX)."},
        {"negative scale", withLine(16, "-20 "), 16, "von 1 bis 32767 (GraphScaleY)"},
        {"zero precision", withLine(4, " 0 "), 4, "größer als 0"},
        {"negative precision", withLine(4, "-0,1"), 4, "größer als 0"},
        {"precision below the smallest float", withLine(4, "1E-50"), 4, "größer als 0"},
        {"empty integer", withLine(12, ""), 12, "(PutNumberEachY)"},
        {"two numbers", withLine(7, "1 2"), 7, "(OriginX)"},
        {"float overflow", withLine(13, "1E39"), 13, "(CalcFrom)"},
        {"infinity", withLine(14, "inf"), 14, "(CalcTo)"},
        {"not a number", withLine(14, "nan"), 14, "(CalcTo)"},
        {"German truth", withLine(17, "Wahr"), 17,
         "Zeile 17: erwartet wird True oder False (LinkPoints)."},
        {"number as truth", withLine(18, "1"), 18, "(AlwaysDeleteGraph)"},
        {"empty truth", withLine(18, ""), 18, "(AlwaysDeleteGraph)"},
        {"first of two errors", twoErrors, 6, "Zeile 6:"},
        {"binary in a number line", withLine(4, QByteArray("\x81\x00\xFE\xFF", 4)), 4, "Zeile 4:"},
        {"NUL in the equation", withLine(19, QByteArray("x\x00", 2)), 19,
         "Zeile 19: erwartet wird die Gleichung als Text, nicht das Byte 0x00."},
        {"undefined byte in the equation", withLine(19, "x\x81"), 19, "0x81"},
        {"control in the equation", withLine(19, "x\x1B"), 19, "0x1B"},
        {"too large", exactlyAtLimit + '\n', 0,
         "Die Datei ist größer als 64 KiB und damit keine Graph-Datei."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const GphReadResult read = ReadGph(c.bytes, German);
        EXPECT_FALSE(read.content.has_value());
        EXPECT_EQ(read.error.line, c.line);
        EXPECT_TRUE(read.error.reason.contains(QString::fromUtf8(c.expected)))
            << read.error.reason.toStdString();
    }
}

TEST(GphReader, LoadingKeepsTheColours)
{
    GraphSettingsRecord settings;
    settings.GraphColor = 1;
    settings.GraphNumberColor = 2;
    settings.LiveColor = 3;
    const GphReadResult read = ReadGph(WriteGph(everyFieldSet(), {}, Saved, German), German);
    ApplyGphSettings(*read.content, settings);
    GraphSettingsRecord expected = everyFieldSet();
    expected.GraphColor = 1;
    expected.GraphNumberColor = 2;
    expected.LiveColor = 3;
    EXPECT_EQ(settings, expected);
}

// ----- files and dialogs

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
    }
    void TearDown() override
    {
        InstallMessageHook({});
        QLocale::setDefault(QLocale::c());
        CdlLoad::TestAnswer = nullptr;
    }

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QString shown(const QString &file) const { return QDir::toNativeSeparators(file); }

    QTemporaryDir dir;
    std::vector<Message> messages;
};

TEST_F(GphFileTest, SavingTwiceLeavesOnlyTheSecondContentAndNoTemporaryFile)
{
    const QString file = path("graph.GPH");
    QString error;
    ASSERT_TRUE(SaveGphFile(file, "first, and longer than the second", &error));
    ASSERT_TRUE(SaveGphFile(file, "second", &error));
    EXPECT_EQ(fileBytes(file), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("graph.GPH")});
}

TEST_F(GphFileTest, UnwritablePlacesFailWithAReason)
{
    QString error;
    EXPECT_FALSE(SaveGphFile(path("fehlt/graph.GPH"), "x", &error));
    EXPECT_EQ(error, QStringLiteral("Den Ordner %1 gibt es nicht.").arg(shown(path("fehlt"))));
    EXPECT_FALSE(QFileInfo::exists(path("fehlt/graph.GPH")));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ordner")));
    EXPECT_FALSE(SaveGphFile(path("ordner"), "x", &error));
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
    EXPECT_FALSE(SaveGphFile(file, "new", &error));
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
        saved = SaveGphFile(file, QByteArray(5000, 'x'), &error);
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
    ASSERT_TRUE(SaveGraph(file, everyFieldSet(), QStringLiteral("3*x+b")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, QStringLiteral("Hinweis"));
    EXPECT_EQ(messages[0].icon, MessageIcon::None);
    EXPECT_EQ(messages[0].text,
              QStringLiteral("Gespeichert unter ") + shown(file)
                  + QStringLiteral(".\nVariabeln wurden evtl. mit ihren aktuellen Werten in die "
                                   "Gleichung eingesetzt."));
    EXPECT_EQ(fileBytes(file).split('\n')[3], " 0,05 \r");

    const std::optional<GphContent> loaded = LoadGraph(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->settings, everyFieldSet());
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

    EXPECT_EQ(cdlLoad.ShowOpen(), path("eins.GPH"));
    answer = std::nullopt;
    EXPECT_EQ(cdlLoad.ShowSave(), std::nullopt);
    EXPECT_EQ(cdlLoad.ShowOpen(), std::nullopt);
    answer = path("zwei");
    EXPECT_EQ(cdlLoad.ShowSave(), path("zwei"));
    EXPECT_EQ(cdlLoad.ShowOpen(), path("zwei"));

    ASSERT_EQ(requests.size(), 5u);
    const QStringList filters{QStringLiteral("Graph-Dateien (*.GPH)"),
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
        {Mode::Open, QString::fromUtf8("Datei öffnen"), path("zwei")},
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

TEST_F(GphFileTest, DialogStartsInTheProgramFolderOnlyWhenWritable)
{
    EXPECT_EQ(CdlLoad::StartFolder(dir.path()), dir.path());
    EXPECT_EQ(CdlLoad::StartFolder(path("fehlt")), QDir::homePath());
    EXPECT_EQ(CdlLoad(nullptr, path("fehlt")).InitDir(), QDir::homePath());
}

} // namespace
} // namespace lw
