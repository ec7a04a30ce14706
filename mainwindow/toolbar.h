// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <array>

class QToolBar;
class QAction;
class QKeySequence;

namespace lw {

struct ToolbarButton {
    const char *key;
    const char *image; // resource path of the button's picture
    const char *toolTip;
    const char *description;
    const char *keys;               // its shortcut, in QKeySequence's portable text
    const char *moreKeys = nullptr; // a second shortcut for the same, not named in the tooltip
    bool toggle = false;
    bool separatorBefore = false;
};

// The toolbar's buttons from left to right.
extern const std::array<ToolbarButton, 17> ToolbarButtons;

// Fills tbrMain; each action's object name is its key and its "description"
// property holds the text the toolbar help shows. Every button has a shortcut, named in its
// tooltip ("Datei öffnen (Strg+O)"); its accessible name is the tooltip's text without it.
void CreateToolbarActions(QToolBar *toolbar);

// A shortcut as a German keyboard labels its keys: "Strg+Umschalt+V", "Strg+Entf".
QString GermanKeyText(const QKeySequence &keys);

} // namespace lw
