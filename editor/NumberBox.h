// SPDX-License-Identifier: GPL-3.0-or-later
// The tool boxes for numbers (link number, enemy speed): they refuse at once what the map
// cannot use, and leave the undo and redo keys to the window, so Ctrl+Z and Ctrl+Y always act
// on the map.
#pragma once

#include <QValidator>
#include <functional>

class QLineEdit;

namespace zorvik::editor {

// Numbers as the tools read them: leading blanks, a minus sign, digits and one decimal point
// (never a comma, whatever the desktop's language), whose value rounded to the nearest whole
// number (ties to even) lies in low..high. Partial input that more typing can still bring
// into the range ("", "-", "0" of 0.6) is let through; everything else is refused.
class NumberRangeValidator : public QValidator {
    Q_OBJECT
  public:
    NumberRangeValidator(int low, int high, QObject* parent);
    State validate(QString& input, int& pos) const override;

  private:
    int low_;
    int high_;
};

// Makes `box` a number box for low..high: `refused` runs whenever typed or pasted text is
// refused, to tell the designer why.
void MakeNumberBox(QLineEdit& box, int low, int high, std::function<void()> refused);

}  // namespace zorvik::editor
