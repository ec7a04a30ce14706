// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

#include <functional>
#include <optional>

class QWidget;

namespace lw {

// cdlColor: the platform's colour chooser preset with a colour; nullopt when
// the user cancelled.
using ColourChooser = std::function<std::optional<QColor>(const QColor &preset, QWidget *parent)>;

std::optional<QColor> ChooseColour(const QColor &preset, QWidget *parent);

// Replaces the platform's chooser (tests); an empty function restores it.
void SetColourChooser(ColourChooser chooser);

} // namespace lw
