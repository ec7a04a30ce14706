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
                          if (since.isValid() && since.nsecsElapsed() < YieldIntervalNs)
                              return;
                          QCoreApplication::processEvents();
                          since.start();
                      },
                      [] {
                          return StopRequested;
                      }});
}

} // namespace lw
