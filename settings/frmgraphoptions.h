// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/graphsettings.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QBoxLayout;
class QCheckBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lw {

// "Schaubild-Einstellungen": edits all fields of GraphSettings in its own
// controls; only "OK" applies them.
class FrmGraphOptions : public QDialog {
    Q_OBJECT

public:
    explicit FrmGraphOptions(QWidget *parent = nullptr,
                             std::function<void()> quickOptionsUpdate = {});

    // Creates a new dialog, fills it and shows it modally; it is destroyed on closing.
    // True when "OK" applied the entries.
    static bool open(QWidget *parent, std::function<void()> quickOptionsUpdate);
    using QDialog::open;

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdSave_Click();
    void cmdStandard_Click();
    void picColours_DblClick(int index);

    // The colour a box shows now.
    Colour colourOf(int index) const;

    QLabel *lblPrecision = nullptr;
    QLineEdit *txtPrecision = nullptr;
    QLabel *lblScreenCentral = nullptr;
    QLineEdit *txtScreenCentralX = nullptr;
    QLineEdit *txtScreenCentralY = nullptr;
    QLabel *lblOrigin = nullptr;
    QLineEdit *txtOriginX = nullptr;
    QLineEdit *txtOriginY = nullptr;
    QLabel *lblPutMarkEach = nullptr;
    QLineEdit *txtPutMarkEachX = nullptr;
    QLineEdit *txtPutMarkEachY = nullptr;
    QLabel *lblPutNumberEach = nullptr;
    QLineEdit *txtPutNumberEachX = nullptr;
    QLineEdit *txtPutNumberEachY = nullptr;
    QLabel *lblCalc = nullptr;
    QLineEdit *txtCalcFrom = nullptr;
    QLineEdit *txtCalcTo = nullptr;
    QLabel *lblGraphScale = nullptr;
    QLineEdit *txtGraphScaleX = nullptr;
    QLineEdit *txtGraphScaleY = nullptr;
    QLabel *lblLinkPoints = nullptr;
    QCheckBox *chkLinkPoints = nullptr;
    QLabel *lblAlwaysDelete = nullptr;
    QCheckBox *chkAlwaysDelete = nullptr;
    QLabel *lblLegend = nullptr;
    QCheckBox *chkLegend = nullptr;
    std::array<QLabel *, 3> lblColours{};
    std::array<QFrame *, 3> picColours{};
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdStandard = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    // Escape and the window frame.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A text field for the setting of this name, named "txt" and the name.
    QLineEdit *numberField(const char *setting, int width);
    // A caption with one control across both field columns or two side by side; all three
    // get the row's help topic.
    QLabel *addRow(const char *caption, const char *labelName, int topic, QWidget *left,
                   QWidget *right = nullptr, Qt::Alignment alignment = Qt::AlignLeft);
    void createNumberRows();
    void createSwitchAndColourRows();
    void createButtons(QBoxLayout *layout);
    void arrangeFocusOrder();
    void fillControls(const GraphSettingsRecord &record);
    // The entries as a record, or nullopt after a message about the first bad one.
    std::optional<GraphSettingsRecord> readEntries();
    void setColour(int index, Colour colour);

    std::function<void()> m_quickOptionsUpdate;
    QGridLayout *m_rows = nullptr;
    int m_rowCount = 0;
};

} // namespace lw
