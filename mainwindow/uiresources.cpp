#include "uiresources.h"

#include <QtGlobal>

static void initResourcesOnce()
{
    Q_INIT_RESOURCE(resources);
}

namespace lw {

void InitUiResources()
{
    static const bool done = (initResourcesOnce(), true);
    (void)done;
}

} // namespace lw
