// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/parameternote.h"
#include "formula/variables.h"

#include <QWidget>

#include <array>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSlider;
class QTimer;
class QToolButton;

namespace lw {

// picVariables: one row per parameter a to h, a check box naming the letter
// and a box holding its value. The panel's enabled state is the edit mode.
// Beside it, picSliders holds a slider and a menu for each row; the sliders move while the edit
// mode is off too, and switch it on.
class VariablesPanel : public QWidget {
    Q_OBJECT
public:
    explicit VariablesPanel(QWidget *parent = nullptr);

    // Rows 1 to 7 as copies of row 0, at start-up, and the sliders beside them.
    void CreateRows();
    VariableValues values() const;
    // The sliders' column, in twips.
    static int SlidersWidth();

    // Sets a row's range and moves its slider to where its value lies in it.
    void setRange(int row, const ParameterRange &range);
    const ParameterRange &range(int row) const { return m_ranges[static_cast<std::size_t>(row)]; }
    // The value a slider position stands for, as its box shows it.
    QString sliderValueText(int row, int position) const;

    // "Animieren": the row's value runs through its range and back until stopped.
    void startAnimation(int row);
    void stopAnimation();
    bool animating() const;

    QLabel *Label1 = nullptr;
    std::array<QCheckBox *, 8> chkVarName{};
    std::array<QLineEdit *, 8> txtVarValue{};
    QWidget *picSliders = nullptr;
    std::array<QSlider *, 8> sldVarValue{};
    std::array<QToolButton *, 8> cmdVarMenu{};
    std::array<QMenu *, 8> mnuVar{};

signals:
    // A slider moved (by the pupil or the animation): the value box, the tick and the edit mode
    // have followed it.
    void valueMoved(int row);
    // The edit mode came on without the toolbar button.
    void editModeSwitchedOn();
    void rangeAsked(int row);
    void familyAsked(int row);

private:
    void createSliderRow(int row);
    void sliderMoved(int row, int position);
    void valueEdited(int row);
    // The box's text: red with the reason as its tooltip when it is no number.
    void checkValue(int row);
    void placeSlider(int row);
    void animationStep();

    std::array<ParameterRange, 8> m_ranges{};
    QTimer *m_animation = nullptr;
    int m_animatedRow = -1;
    int m_animationDirection = 1;
};

} // namespace lw
