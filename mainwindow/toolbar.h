#pragma once

#include <QString>

#include <array>

class QToolBar;
class QAction;

namespace lw {

struct ToolbarButton {
    const char *key;
    const char *image; // resource path of the button's picture
    const char *toolTip;
    const char *description;
    bool toggle = false;
    bool separatorBefore = false;
};

// The toolbar's buttons from left to right.
extern const std::array<ToolbarButton, 15> ToolbarButtons;

// Fills tbrMain; each action's object name is its key and its "description"
// property holds the text the toolbar help shows. Load, Save and Print have
// the usual keys (Ctrl+O, Ctrl+S, Ctrl+P), the curve list has Ctrl+L.
void CreateToolbarActions(QToolBar *toolbar);

} // namespace lw
