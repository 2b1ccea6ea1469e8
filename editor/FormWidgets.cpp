// SPDX-License-Identifier: GPL-3.0-or-later
// The form's font, the wrapping button and the stand-in tile sheet.
#include "FormWidgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "A_deklare.h"

namespace zorvik::editor {

// 8.25 pt is 11 pixels and 9.75 pt is 13 pixels on a 96 dpi screen.
QFont FormFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QImage FallbackTileSheet() {
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    QFont font = FormFont(22);
    painter.setFont(font);
    for (int cell = 0; cell < kPaletteEntries; ++cell) {
        const QRect box(kSheetCell * (cell % kSheetCols), kSheetCell * (cell / kSheetCols),
                        kSheetCell, kSheetCell);
        const QColor fill = QColor::fromHsv((cell * 47) % 360, 150, 200);
        painter.fillRect(box.adjusted(2, 2, -2, -2), fill);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, QString::number(cell + 1));
    }
    return sheet;
}

WrapButton::WrapButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    // Narrow buttons ("UP", "DOWN") break inside words; the others between words.
    const QRect area = rect().adjusted(2, 2, -2, -2);
    int flags = Qt::AlignCenter | Qt::TextWordWrap;
    for (const QString& word : caption.split(QLatin1Char(' '))) {
        if (fontMetrics().horizontalAdvance(word) > area.width())
            flags = Qt::AlignCenter | Qt::TextWrapAnywhere;
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area, flags, caption);
}

}  // namespace zorvik::editor
