// SPDX-License-Identifier: GPL-3.0-or-later

#include "colourchooser.h"

#include <QColorDialog>

namespace lw {

namespace {

std::optional<QColor> platformColourChooser(const QColor &preset, QWidget *parent)
{
    const QColor chosen = QColorDialog::getColor(preset, parent, QStringLiteral("Farbe"));
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

ColourChooser &installedChooser()
{
    static ColourChooser chooser = platformColourChooser;
    return chooser;
}

} // namespace

std::optional<QColor> ChooseColour(const QColor &preset, QWidget *parent)
{
    return installedChooser()(preset, parent);
}

void SetColourChooser(ColourChooser chooser)
{
    installedChooser() = chooser ? std::move(chooser) : ColourChooser(platformColourChooser);
}

} // namespace lw
