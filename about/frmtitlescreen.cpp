// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmtitlescreen.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "widgets/uiresources.h"

namespace lw {

namespace {
constexpr QSize TitleSize(457, 249);

const QString &titlePath()
{
    InitUiResources();
    static const QString path = QStringLiteral(":/title.svg");
    return path;
}
} // namespace

FrmTitleScreen::FrmTitleScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_title(titlePath())
{
    setObjectName(QStringLiteral("frmTitleScreen"));
    setWindowTitle(QStringLiteral("TitleScreen"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(TitleSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FrmTitleScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_title.render(&painter, QRectF(rect()));
}

} // namespace lw
