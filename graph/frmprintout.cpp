// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmprintout.h"

#include "widgets/twips.h"

namespace lw {

QSize OuterTwips::size() const
{
    const QSize pixels = m_window->size();
    if (m_set.isValid()
        && ClientPixelsForOuter(m_set, TwipsPerPixelX(), TwipsPerPixelY()) == pixels)
        return m_set;
    return OuterForClientPixels(pixels, TwipsPerPixelX(), TwipsPerPixelY());
}

void OuterTwips::setSize(QSize outer)
{
    m_set = outer;
    m_window->resize(ClientPixelsForOuter(outer, TwipsPerPixelX(), TwipsPerPixelY()));
}

FrmPrintOut::FrmPrintOut(QWidget *parent) : PictureWidget(parent, Qt::white, Qt::Window)
{
    setObjectName(QStringLiteral("frmPrintOut"));
}

void FrmPrintOut::setPicturePixels(QSize size)
{
    setPictureSize(size);
    m_picture = BlankPicture(surface(), static_cast<int16_t>(size.width()),
                             static_cast<int16_t>(size.height()));
}

} // namespace lw
