// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace lw {

// The borderless title picture shown while the program starts.
class FrmTitleScreen : public QWidget {
    Q_OBJECT

public:
    explicit FrmTitleScreen(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_title;
};

} // namespace lw
