// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawbench.h"

#include "formula/eventhook.h"
#include "graph/graphdraw.h"
#include "mainwindow/drawcommand.h"
#include "settings/graphsettings.h"
#include "widgets/picturewidget.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace lw::drawbench {

DrawBench *bench = nullptr;

double median(std::vector<double> values)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void openWindow(int fixedSize)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    lw::GraphSettings = lw::GraphSettingsRecord{};
    lw::SetSettingsStore(&bench->store);
    lw::InstallMessageHook([](const lw::Message &m) { bench->messages.push_back(m); });
    bench->window = std::make_unique<lw::FrmMain>();
    bench->window->Form_Load();
    bench->window->show();
    settle();
    if (fixedSize > 0) {
        const auto side = static_cast<int16_t>(fixedSize);
        bench->window->picGraph->setPictureSize(QSize(side, side));
        lw::ResizePicture(lw::ScreenPicture(), side, side);
        lw::RedrawAxes(lw::ScreenPicture(), lw::GraphSettings);
    }
    const lw::PlotGeometry &screen = lw::ScreenPicture().geometry;
    bench->pictureSize = QSize(screen.GraphWidth, screen.GraphHeight);
}

void prepareDraw()
{
    lw::FrmMain &w = *bench->window;
    w.txtTerm->setText(Term);
    w.optTermFormat[0]->setChecked(true);
    w.optTermFormat_Click(0);
    w.txtPrecision->setText(PrecisionText);
}

void installCountingHook(long &count)
{
    lw::InstallEventHook({[&count] { ++count; },
                          [] {
                              return lw::StopRequested();
                          }});
}

double maxOf(const std::vector<double> &values)
{
    return values.empty() ? NAN : *std::max_element(values.begin(), values.end());
}

const char *verdict(bool met, double value)
{
    return std::isnan(value) ? "not measured" : met ? "met" : "MISSED";
}

std::vector<CurveEntry> tenCurves()
{
    std::vector<CurveEntry> curves;
    int n = 0;
    for (const char16_t *formula : {u"PRO(x;x)", u"SIN(x)", u"COS(x)", u"DIV(1;x)", u"SUM(x;1)",
                                    u"PRO(x;x;x)", u"SQR(x)", u"EXP(x)", u"ABS(x)", u"ATN(x)"})
        curves.push_back({.formula = formula,
                          .colour = Colour(0x101010 * ++n),
                          .precision = 0.001f,
                          .linkPoints = true});
    return curves;
}

} // namespace lw::drawbench
