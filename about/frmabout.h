// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "abouttext.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lw {

// The about box: fixed captions, the title picture and the text of about.txt.
class FrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr, const QString &aboutPath = AboutTextPath());

    // Creates a new box, fills it and shows it modally; it is destroyed on closing.
    static void open(QWidget *parent, const QString &aboutPath = AboutTextPath());
    using QDialog::open;

    void Form_Load();
    void cmdOK_Click();

private:
    void createCaptions();
    void createPicture();
    void createTextAndButton();

    QString m_aboutPath;
    QLabel *picIcon = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label2 = nullptr;
    QPlainTextEdit *txtAboutBox = nullptr;
    QPushButton *cmdOK = nullptr;
};

} // namespace lw
