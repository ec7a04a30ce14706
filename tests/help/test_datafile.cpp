// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/datafile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

using namespace lw;

namespace {

// The build folder keeps the file beside the program, an installation in ../share/linienwerk.
TEST(DataFile, BesideTheProgramFirstThenTheInstalledShareFolder)
{
    const struct {
        const char *name;
        bool beside;
        bool installed;
        const char *found; // relative to the prefix
    } cases[] = {
        {"build folder", true, false, "bin/LW20.hlp"},
        {"installed", false, true, "share/linienwerk/LW20.hlp"},
        {"both: beside wins", true, true, "bin/LW20.hlp"},
        {"neither: the place beside is named", false, false, "bin/LW20.hlp"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir prefix;
        ASSERT_TRUE(prefix.isValid());
        const QDir dir(prefix.path());
        ASSERT_TRUE(dir.mkpath("bin") && dir.mkpath("share/linienwerk"));
        for (const auto &[present, path] : {std::pair{c.beside, "bin/LW20.hlp"},
                                            std::pair{c.installed, "share/linienwerk/LW20.hlp"}}) {
            QFile file(dir.filePath(path));
            ASSERT_TRUE(!present || file.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(FindDataFile("LW20.hlp", dir.filePath("bin")), dir.filePath(c.found));
    }
}

} // namespace
