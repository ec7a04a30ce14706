// SPDX-License-Identifier: GPL-3.0-or-later

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

QFont DesignFont(qreal pointSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace lw
