#pragma once

#include <QDialog>
#include <QString>

#include <array>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lw {

// Page 2: the values of the template chosen on page 1 (FAGraphType).
class FrmFAssist2 : public QDialog {
    Q_OBJECT

public:
    explicit FrmFAssist2(QWidget *parent = nullptr);

    void Form_Load();
    void cmdBack_Click();
    void cmdCancel_Click();
    void cmdFinish_Click();
    void FAComplete();

    // What "Fertigstellen" composed; empty before.
    QString equation() const { return m_equation; }

    QLabel *lblEnterVals = nullptr;
    std::array<QLabel *, 4> lblDescription{};
    std::array<QLineEdit *, 4> txtValue{};
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_equation;
};

} // namespace lw
