// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/ownwindows.h"

#include <QString>

namespace lw {

// Tests find a control by its object name; the direct help shows the topic
// of the control or of its nearest ancestor that has one (0: none).
template<typename Control>
Control *named(Control *control, const QString &name, int helpTopic = 0)
{
    control->setObjectName(name);
    if (helpTopic)
        control->setProperty("helpTopic", helpTopic);
    return control;
}

// Shows one of the main window's own windows and brings it to the front.
template<typename Window>
Window &ShowInFront(Window *window)
{
    PlaceOwnWindow(window);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

} // namespace lw
