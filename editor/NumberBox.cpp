// SPDX-License-Identifier: GPL-3.0-or-later
// The number boxes' validator and the window's keys let through to the window.
#include "NumberBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

#include "Numbers.h"

namespace zorvik::editor {

namespace {

// A key event is one of the window's map keys: undo, redo, cut, copy and paste of map cells,
// and the tool keys (letters, which a number box refuses anyway).
bool IsWindowKey(const QKeyEvent& key) {
    const bool letter = key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z &&
                        (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
           (key.key() == Qt::Key_Y && key.modifiers() == Qt::ControlModifier) ||
           key.matches(QKeySequence::Cut) || key.matches(QKeySequence::Copy) ||
           key.matches(QKeySequence::Paste) || letter;
}

// Declines the box's claim on the window's keys, so the window's shortcuts get them.
class KeysToWindow : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            IsWindowKey(*static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

NumberRangeValidator::NumberRangeValidator(int low, int high, QObject* parent)
    : QValidator(parent), low_(low), high_(high) {}

QValidator::State NumberRangeValidator::validate(QString& input, int&) const {
    static const QRegularExpression shape(QStringLiteral("^ *-?[0-9]*(\\.[0-9]*)?$"));
    if (!shape.match(input).hasMatch()) return Invalid;
    if (!input.contains(QRegularExpression(QStringLiteral("[0-9]")))) return Intermediate;
    const double value = ReadNumber(input.toStdString());
    const double whole = RoundHalfEven(value);
    if (whole > high_) return Invalid;
    // More digits make a positive number larger, a negative one smaller.
    if (whole < low_) return value >= 0 ? Intermediate : Invalid;
    return Acceptable;
}

void MakeNumberBox(QLineEdit& box, int low, int high, std::function<void()> refused) {
    box.setValidator(new NumberRangeValidator(low, high, &box));
    box.installEventFilter(new KeysToWindow(&box));
    QObject::connect(&box, &QLineEdit::inputRejected, &box, std::move(refused));
}

}  // namespace zorvik::editor
