// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/graphsettings.h"
#include "settings/options.h"
#include "settings/settingsstore.h"
#include "settingstesting.h"
#include "tests/support/settingsrecords.h"

#include <gtest/gtest.h>

#include <bit>

using namespace lw;
using lw::settingstest::LocaleScope;
using lw::testing::EveryFieldChanged;

namespace {

const QString Options = QStringLiteral("Options");

const QString Notice = QString::fromUtf16(
    u"In den gespeicherten Einstellungen sind fehlerhafte oder fehlende Daten von Linienwerk. Sie "
    u"können das Problem beheben, indem Sie im Dialogfeld 'Schaubild-Einstellungen' auf 'Speichern' "
    u"klicken. Es werden jetzt falls notwendig die Standardwerte benutzt.");

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { GraphSettings = GraphSettingsRecord{}; }
    void TearDown() override
    {
        GraphSettings = GraphSettingsRecord{};
        SetSettingsStore(nullptr);
    }

    // A store as SaveOptions leaves it for the given record.
    MemorySettingsStore savedStore(const GraphSettingsRecord &record)
    {
        MemorySettingsStore store;
        GraphSettings = record;
        SaveOptions(store);
        GraphSettings = GraphSettingsRecord{};
        return store;
    }

    LocaleScope locale{settingstest::germanLocale()};
};

TEST_F(OptionsTest, AFirstStartLoadsAndWritesTheDefaultsWithoutNotice)
{
    GraphSettings = EveryFieldChanged();
    MemorySettingsStore empty;
    SetSettingsStore(&empty);
    EXPECT_EQ(LoadOptions(), QString());
    SetSettingsStore(nullptr);
    EXPECT_EQ(GraphSettings, GraphSettingsRecord{});
    EXPECT_EQ(empty.read(Options, QStringLiteral("Check")), QStringLiteral("1"));
    EXPECT_EQ(empty.size(), savedStore(GraphSettingsRecord{}).size());
}

TEST_F(OptionsTest, TheMarkerAloneDecidesTheNotice)
{
    const struct {
        const char *marker; // nullptr: absent
        bool complete;      // all eighteen values present
        bool notice;
    } cases[] = {
        {nullptr, true, true}, {"0", true, true},    {"0", false, true},    {"abc", true, true},
        {"40000", true, true}, {"", true, true},     {"1", false, false},   {"1", true, false},
        {"2", false, false},   {"-1", false, false}, {" 1 ", false, false},
        {nullptr, false, false}, // nothing of the program at all: a first start
    };
    for (const auto &c : cases) {
        MemorySettingsStore store =
            c.complete ? savedStore(EveryFieldChanged()) : MemorySettingsStore{};
        if (c.marker)
            store.write(Options, QStringLiteral("Check"), QString::fromLatin1(c.marker));
        else
            store.remove(Options, QStringLiteral("Check"));
        EXPECT_EQ(LoadOptions(store), c.notice ? Notice : QString())
            << (c.marker ? c.marker : "(absent)") << " complete " << c.complete;
    }
}

TEST_F(OptionsTest, MissingValuesTakeTheirDefaultsWithoutNotice)
{
    MemorySettingsStore store;
    store.write(Options, QStringLiteral("Check"), QStringLiteral("1"));
    store.write(Options, QStringLiteral("GraphScaleX"), QStringLiteral("30"));
    store.write(Options, QStringLiteral("LiveColor"), QStringLiteral("255"));
    store.write(Options, QStringLiteral("Precision"), QStringLiteral("0,5"));
    store.write(Options, QStringLiteral("AlwaysDeleteGraph"), QStringLiteral("True"));
    EXPECT_EQ(LoadOptions(store), QString());

    GraphSettingsRecord expected;
    expected.GraphScaleX = 30;
    expected.LiveColor = 255;
    expected.Precision = 0.5f;
    expected.AlwaysDeleteGraph = true;
    EXPECT_EQ(GraphSettings, expected);
}

TEST_F(OptionsTest, SavedTextsOfTheDefaults)
{
    const MemorySettingsStore store = savedStore(GraphSettingsRecord{});
    const std::pair<const char *, const char *> expected[] = {
        {"Check", "1"},
        {"GraphColor", "8421504"},
        {"GraphNumberColor", "0"},
        {"LiveColor", "8388608"},
        {"GraphScaleX", "20"},
        {"GraphScaleY", "20"},
        {"ScreenCentralX", "0"},
        {"ScreenCentralY", "0"},
        {"OriginX", "0"},
        {"OriginY", "0"},
        {"PutMarkEachX", "1"},
        {"PutMarkEachY", "1"},
        {"PutNumberEachX", "1"},
        {"PutNumberEachY", "1"},
        {"CalcFrom", "-20"},
        {"CalcTo", "20"},
        {"Precision", "0,1"},
        {"LinkPoints", "True"},
        {"AlwaysDeleteGraph", "False"},
    };
    EXPECT_EQ(store.size(), std::size(expected));
    for (const auto &[name, text] : expected)
        EXPECT_EQ(store.read(Options, QString::fromLatin1(name)), QString::fromLatin1(text))
            << name;
}

TEST_F(OptionsTest, SavedTextsOfChangedValues)
{
    const MemorySettingsStore store = savedStore(EveryFieldChanged());
    const std::pair<const char *, const char *> expected[] = {
        {"GraphColor", "1193046"}, {"GraphNumberColor", "16777215"}, {"OriginX", "-32768"},
        {"CalcFrom", "-3,25"},     {"CalcTo", "1234,567"},           {"Precision", "0,05"},
        {"LinkPoints", "False"},   {"AlwaysDeleteGraph", "True"},
    };
    for (const auto &[name, text] : expected)
        EXPECT_EQ(store.read(Options, QString::fromLatin1(name)), QString::fromLatin1(text))
            << name;
}

class RecordingStore : public MemorySettingsStore {
public:
    void write(const QString &section, const QString &name, const QString &text) override
    {
        written.push_back(section + QLatin1Char('/') + name);
        MemorySettingsStore::write(section, name, text);
    }
    std::vector<QString> written;
};

TEST_F(OptionsTest, SaveWritesTheMarkerFirstThenTheFieldsInOrder)
{
    RecordingStore store;
    SaveOptions(store);
    const std::vector<QString> expected = {
        "Options/Check",
        "Options/GraphColor",
        "Options/GraphNumberColor",
        "Options/LiveColor",
        "Options/GraphScaleX",
        "Options/GraphScaleY",
        "Options/ScreenCentralX",
        "Options/ScreenCentralY",
        "Options/OriginX",
        "Options/OriginY",
        "Options/PutMarkEachX",
        "Options/PutMarkEachY",
        "Options/PutNumberEachX",
        "Options/PutNumberEachY",
        "Options/CalcFrom",
        "Options/CalcTo",
        "Options/Precision",
        "Options/LinkPoints",
        "Options/AlwaysDeleteGraph",
    };
    EXPECT_EQ(store.written, expected);
}

TEST_F(OptionsTest, SaveThenLoadRestoresEveryFieldBitForBit)
{
    GraphSettingsRecord withDefaultPrecision = EveryFieldChanged();
    withDefaultPrecision.Precision = 0.1f;
    GraphSettingsRecord withAThird = EveryFieldChanged();
    withAThird.CalcTo = 1.0f / 3.0f; // nine digits to read back
    for (const QLocale &userLocale :
         {settingstest::germanLocale(), settingstest::englishLocale()}) {
        LocaleScope scope(userLocale);
        for (const GraphSettingsRecord &record :
             {EveryFieldChanged(), withDefaultPrecision, withAThird, GraphSettingsRecord{}}) {
            const MemorySettingsStore store = savedStore(record);
            EXPECT_EQ(LoadOptions(store), QString());
            EXPECT_EQ(GraphSettings, record) << userLocale.name().toStdString();
            EXPECT_EQ(std::bit_cast<uint32_t>(GraphSettings.Precision),
                      std::bit_cast<uint32_t>(record.Precision));
            EXPECT_EQ(std::bit_cast<uint32_t>(GraphSettings.CalcTo),
                      std::bit_cast<uint32_t>(record.CalcTo));
        }
    }
}

// The field's name and a function that puts that field back to its default.
#define FIELD(name)                                                                                \
#name, [](GraphSettingsRecord & r) {                                                           \
        r.name = GraphSettingsRecord{}.name;                                                       \
    }

TEST_F(OptionsTest, ABadValueTakesItsDefaultAndNothingElseChanges)
{
    const struct {
        const char *name;
        void (*resetField)(GraphSettingsRecord &);
        const char *text;
    } cases[] = {
        {FIELD(GraphScaleX), "40000"},    {FIELD(GraphScaleY), "-32769"},
        {FIELD(ScreenCentralX), "abc"},   {FIELD(ScreenCentralY), ""},
        {FIELD(OriginX), "1e3"},          {FIELD(OriginY), "2,5"},
        {FIELD(PutMarkEachX), "0x10"},    {FIELD(PutNumberEachY), "20 30"},
        {FIELD(GraphColor), "16777216"},  {FIELD(GraphNumberColor), "-1"},
        {FIELD(LiveColor), "4294967295"}, {FIELD(CalcFrom), "nan"},
        {FIELD(CalcTo), "inf"},           {FIELD(CalcFrom), "-inf"},
        {FIELD(CalcTo), "1e39"},          {FIELD(Precision), "0.5"},
        {FIELD(Precision), "abc"},        {FIELD(LinkPoints), "Vielleicht"},
        {FIELD(AlwaysDeleteGraph), ""},   {FIELD(GraphScaleX), "0"},
        {FIELD(GraphScaleY), "-20"},      {FIELD(Precision), "0"},
        {FIELD(Precision), "-0,1"},
    };
    const GraphSettingsRecord stored = EveryFieldChanged();
    for (const auto &c : cases) {
        MemorySettingsStore store = savedStore(stored);
        store.write(Options, QString::fromLatin1(c.name), QString::fromLatin1(c.text));
        EXPECT_EQ(LoadOptions(store), QString());

        GraphSettingsRecord expected = stored;
        c.resetField(expected);
        EXPECT_EQ(GraphSettings, expected) << c.name << " = \"" << c.text << '"';
    }
}

#undef FIELD

TEST_F(OptionsTest, TruthValuesInEveryAcceptedForm)
{
    const std::pair<const char *, bool> cases[] = {
        {"True", true}, {"False", false},  {"-1", true},   {"0", false},
        {"Wahr", true}, {"Falsch", false}, {"WAHR", true}, {"false", false},
    };
    for (const auto &[text, expected] : cases) {
        MemorySettingsStore store;
        store.write(Options, QStringLiteral("Check"), QStringLiteral("1"));
        store.write(Options, QStringLiteral("LinkPoints"), QString::fromLatin1(text));
        store.write(Options, QStringLiteral("AlwaysDeleteGraph"), QString::fromLatin1(text));
        LoadOptions(store);
        EXPECT_EQ(GraphSettings.LinkPoints, expected) << text;
        EXPECT_EQ(GraphSettings.AlwaysDeleteGraph, expected) << text;
    }
}

TEST_F(OptionsTest, WithoutArgumentsTheInstalledStoreIsUsed)
{
    MemorySettingsStore store;
    SetSettingsStore(&store);
    GraphSettings = EveryFieldChanged();
    SaveOptions();
    EXPECT_EQ(store.read(Options, QStringLiteral("GraphScaleY")), QStringLiteral("10"));

    GraphSettings = GraphSettingsRecord{};
    EXPECT_EQ(LoadOptions(), QString());
    EXPECT_EQ(GraphSettings, EveryFieldChanged());
}

} // namespace
