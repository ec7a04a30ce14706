#include "drawcommand.h"

#include "formula/eventhook.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace lw {

bool DrawInProgress = false;
bool StopRequested = false;

namespace {
constexpr qint64 YieldIntervalNs = 4'000'000;
} // namespace

void InstallDrawYield()
{
    InstallEventHook({[] {
                          static QElapsedTimer since;
                          static unsigned calls = 0;
                          // Reading the clock costs more than a sample; look every 64th.
                          if (since.isValid()
                              && (++calls % 64 != 0 || since.nsecsElapsed() < YieldIntervalNs))
                              return;
                          QCoreApplication::processEvents();
                          since.start();
                      },
                      [] {
                          return StopRequested;
                      }});
}

} // namespace lw
