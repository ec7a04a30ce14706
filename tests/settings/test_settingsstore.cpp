// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/graphsettings.h"
#include "settings/options.h"
#include "settings/settingsstore.h"
#include "settingstesting.h"
#include "tests/support/settingsrecords.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lw;
using lw::settingstest::LocaleScope;

namespace {

const QString Options = QStringLiteral("Options");

QString fileText(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void writeFile(const QString &fileName, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(fileName).path());
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(MemorySettingsStore, TellsAnAbsentValueFromAnEmptyOne)
{
    MemorySettingsStore store;
    store.write(Options, QStringLiteral("Check"), QString());
    EXPECT_EQ(store.read(Options, QStringLiteral("Check")), QString());
    EXPECT_EQ(store.read(QStringLiteral("Other"), QStringLiteral("Check")), std::nullopt);
    EXPECT_EQ(store.read(Options, QStringLiteral("check")), std::nullopt);
}

// The user's store, redirected into a temporary folder.
class UserStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configFolder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configFolder.path());
    }

    QString expectedFile() const { return configFolder.filePath("Linienwerk2/Linienwerk2.ini"); }

    QTemporaryDir configFolder;
};

TEST_F(UserStoreTest, WritesAnOptionsSectionAndReadsItBack)
{
    const std::pair<const char *, QString> values[] = {
        {"Check", QStringLiteral("1")},
        {"Precision", QStringLiteral("0,1")},
        {"CalcFrom", QStringLiteral("-20")},
        {"LinkPoints", QStringLiteral("True")},
        {"Odd", QString::fromUtf16(u"a;b=c \"ä\" @x")},
        {"Empty", QString()},
    };
    {
        QSettingsStore store;
        EXPECT_EQ(store.fileName(), expectedFile());
        for (const auto &[name, text] : values)
            store.write(Options, QString::fromLatin1(name), text);
        EXPECT_TRUE(store.flush());
    }
    const QString ini = fileText(expectedFile());
    EXPECT_TRUE(ini.startsWith(QStringLiteral("[Options]\n"))) << ini.toStdString();
    EXPECT_TRUE(ini.contains(QStringLiteral("\nCheck=1\n"))) << ini.toStdString();

    const QSettingsStore reopened;
    for (const auto &[name, text] : values)
        EXPECT_EQ(reopened.read(Options, QString::fromLatin1(name)), text) << name;
    EXPECT_EQ(reopened.read(Options, QStringLiteral("GraphColor")), std::nullopt);
    EXPECT_EQ(reopened.read(QStringLiteral("Other"), QStringLiteral("Check")), std::nullopt);
}

TEST_F(UserStoreTest, ReadsAHandEditedFile)
{
    writeFile(expectedFile(), "[Options]\nCheck=1\nPrecision=0,25\nGraphScaleX=30\n");
    const QSettingsStore store;
    EXPECT_EQ(store.read(Options, QStringLiteral("Precision")), QStringLiteral("0,25"));
    EXPECT_EQ(store.read(Options, QStringLiteral("GraphScaleX")), QStringLiteral("30"));
}

TEST_F(UserStoreTest, IgnoresTheOrganisationWideFile)
{
    writeFile(configFolder.filePath("Linienwerk2.ini"), "[Options]\nCheck=1\nGraphScaleX=30\n");
    const QSettingsStore store;
    EXPECT_EQ(store.read(Options, QStringLiteral("Check")), std::nullopt);
}

TEST_F(UserStoreTest, SaveAndLoadThroughTheFile)
{
    LocaleScope scope(settingstest::germanLocale());
    const GraphSettingsRecord changed = lw::testing::EveryFieldChanged();
    {
        QSettingsStore store;
        GraphSettings = changed;
        SaveOptions(store);
    }
    EXPECT_TRUE(fileText(expectedFile()).contains(QStringLiteral("Precision=\"0,05\"")));

    GraphSettings = GraphSettingsRecord{};
    EXPECT_EQ(LoadOptions(QSettingsStore()), QString());
    EXPECT_EQ(GraphSettings, changed);
    GraphSettings = GraphSettingsRecord{};
}

} // namespace
