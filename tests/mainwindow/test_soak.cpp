// SPDX-License-Identifier: GPL-3.0-or-later
// Ten thousand draws with erasing in one process: the heap in use and the
// open files must not grow with the number of draws.

#include "tests/support/windowtesting.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <malloc.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>

#if defined(__SANITIZE_ADDRESS__)
#define LW_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LW_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef LW_ADDRESS_SANITIZER
// From the sanitizer runtime; GCC does not install clang's header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace lw;

namespace {

#ifdef LW_ADDRESS_SANITIZER
// The sanitizer pads and quarantines every allocation: its figures are reported, not judged.
constexpr bool HeapFiguresMeaningful = false;
constexpr int Draws = 1'000;
#else
constexpr bool HeapFiguresMeaningful = true;
constexpr int Draws = 10'000;
#endif
constexpr int Warmup = 100;

const struct {
    const char *term;
    bool kzn;
} Equations[] = {
    {"2*x^2+3*x-4", false},
    {"a*SIN(x)+b", false},
    {"SUM(x;1)", true},
    {"1/x", false},
};

std::size_t heapInUse()
{
#ifdef LW_ADDRESS_SANITIZER
    return __sanitizer_get_current_allocated_bytes(); // mallinfo2() knows nothing of its heap
#else
    return mallinfo2().uordblks;
#endif
}

int openFiles()
{
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

class Soak : public lw::testing::WindowTest {
protected:
    void draw(int n)
    {
        const auto &equation = Equations[n % std::size(Equations)];
        window->optTermFormat[equation.kzn ? 1 : 0]->click();
        window->txtTerm->setText(QString::fromLatin1(equation.term));
        window->cmdDraw->click();
        if (n % std::size(Equations) == std::size(Equations) - 1)
            window->toolbarAction("EraseGraphs")->trigger();
    }
    // Pending repaints and deletions done, so that they do not count as growth.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(Soak, ManyDrawsWithErasingKeepHeapAndFilesFlat)
{
    openWindow();
    ASSERT_EQ(window->txtPrecision->text(), "0,1"); // 200 samples a draw
    ASSERT_FALSE(window->chkAutoConvert->isChecked());
    settle();
    const int filesBefore = openFiles();
    QElapsedTimer clock;
    clock.start();

    std::size_t heapAfterWarmup = 0;
    for (int n = 1; n <= Draws; ++n) {
        draw(n);
        if (n == Warmup) {
            settle();
            heapAfterWarmup = heapInUse();
        }
    }
    settle();
    const std::size_t heapAfterLast = heapInUse();
    const int filesAfter = openFiles();
    const qint64 ms = clock.elapsed();

    EXPECT_TRUE(messages.empty()) << messages.front().text.toStdString();
    // The last draw, right after an erase, really put its curve on the picture.
    const QImage &picture = window->picGraph->surface().image();
    int curvePixels = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            curvePixels += picture.pixelColor(x, y) == lw::testing::CurveColour;
    EXPECT_GT(curvePixels, 100);
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    EXPECT_FALSE(DrawInProgress());
    EXPECT_LE(filesAfter, filesBefore);
    const double growth = (double(heapAfterLast) - double(heapAfterWarmup)) / heapAfterWarmup;
    if (HeapFiguresMeaningful) {
        EXPECT_LE(std::abs(growth), 0.05) << heapAfterWarmup << " -> " << heapAfterLast;
    }

    RecordProperty("draws", Draws);
    RecordProperty("heap_after_100", std::to_string(heapAfterWarmup));
    RecordProperty("heap_after_last", std::to_string(heapAfterLast));
    RecordProperty("open_files_before", filesBefore);
    RecordProperty("open_files_after", filesAfter);
    RecordProperty("milliseconds", std::to_string(ms));
    std::printf("[ soak     ] %d draws in %lld ms; heap in use after %d: %zu bytes, after %d: %zu "
                "bytes (%+.2f %%%s); open files %d before, %d after\n",
                Draws, static_cast<long long>(ms), Warmup, heapAfterWarmup, Draws, heapAfterLast,
                growth * 100, HeapFiguresMeaningful ? "" : ", not judged under the sanitizer",
                filesBefore, filesAfter);
}

} // namespace
