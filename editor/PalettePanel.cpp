// SPDX-License-Identifier: GPL-3.0-or-later
// The palette panel: the entries' names, the grid of all 32, the row of the nine used last.
#include "PalettePanel.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "A_deklare.h"
#include "PictureBox.h"

namespace zorvik::editor {

namespace {

// The names of entries 1..32, in the palette table's order (UTF-8).
const char* const kNames[kPaletteEntries] = {
    "Tráva na hlíně",
    "Hlína",
    "Kamenná zeď",
    "Tmavá zeď (pozadí)",
    "Pochodeň (pozadí)",
    "Okno (pozadí)",
    "Bedna",
    "Břečťan (pozadí)",
    "Ocelový blok",
    "Knihovna (pozadí)",
    "Police s lahvemi (pozadí)",
    "Žula",
    "Mechové cihly",
    "Plošinka",
    "Led",
    "Čedič",
    "Prkno (pouzdro)",
    "Rozcestník",
    "Červený rozcestník",
    "Hvězda 100",
    "Hvězda 500",
    "Hvězda 2500",
    "Náboje paprsku",
    "Kámen",
    "Ohebný nepřítel doleva",
    "Ohebný nepřítel doprava",
    "Panák doleva",
    "Panák doprava",
    "Start, flaška vlevo",
    "Start, flaška vpravo",
    "Východ",
    "Cíl hry",
};

// The grid: 8 entries a row, 4 rows; the row of entries used last above it.
constexpr int kColumns = 8;
constexpr int kImage = 44;
constexpr int kPitch = kImage + 4;
constexpr int kRecentImage = 32;
constexpr int kRecentPitch = kRecentImage + 10;
constexpr int kMargin = 4;
constexpr int kHeading = 16;
constexpr int kGridTop = kMargin + kHeading + kRecentImage + 8 + kHeading;
const QColor kBackground(128, 128, 128);
const QColor kSelected(255, 255, 0);

QRect SheetRect(int entry) {
    const int cell = entry - 1;
    return QRect(kSheetCell * (cell % kSheetCols), kSheetCell * (cell / kSheetCols), kSheetCell,
                 kSheetCell);
}

}  // namespace

QString PaletteEntryName(int entry) {
    if (entry < 1 || entry > kPaletteEntries) return {};
    return QString::fromUtf8(kNames[entry - 1]);
}

PalettePanel::PalettePanel(const PictureBox& sheet, QWidget* parent)
    : QWidget(parent), sheet_(sheet) {
    resize(sizeHint());
}

QSize PalettePanel::sizeHint() const {
    return {2 * kMargin + kColumns * kPitch,
            kGridTop + (kPaletteEntries / kColumns) * kPitch + kMargin};
}

void PalettePanel::Used(int entry) {
    std::erase(recent_, entry);
    recent_.insert(recent_.begin(), entry);
    if (recent_.size() > kRecentCount) recent_.resize(kRecentCount);
    update();
}

int PalettePanel::Recent(int n) const {
    if (n < 1 || n > static_cast<int>(recent_.size())) return 0;
    return recent_[static_cast<size_t>(n - 1)];
}

QRect PalettePanel::EntryRect(int entry) const {
    const int index = entry - 1;
    return QRect(kMargin + kPitch * (index % kColumns) + 2,
                 kGridTop + kPitch * (index / kColumns) + 2, kImage, kImage);
}

QRect PalettePanel::RecentRect(int n) const {
    return QRect(kMargin + kRecentPitch * (n - 1), kMargin + kHeading, kRecentImage, kRecentImage);
}

int PalettePanel::EntryAt(QPoint point) const {
    for (int entry = 1; entry <= kPaletteEntries; ++entry) {
        if (EntryRect(entry).contains(point)) return entry;
    }
    for (int n = 1; n <= kRecentCount; ++n) {
        if (RecentRect(n).contains(point)) return Recent(n);
    }
    return 0;
}

void PalettePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setPen(Qt::white);
    painter.drawText(QRect(kMargin, kMargin, width(), kHeading), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8("Naposledy použité (klávesy 1–9):"));
    painter.drawText(QRect(kMargin, kGridTop - kHeading - 2, width(), kHeading),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("Celá paleta:"));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage& sheet = sheet_.Image();
    for (int n = 1; n <= static_cast<int>(recent_.size()); ++n) {
        const QRect at = RecentRect(n);
        painter.drawImage(at, sheet, SheetRect(Recent(n)));
        painter.drawText(QRect(at.right() + 2, at.top(), 8, at.height()), Qt::AlignCenter,
                         QString::number(n));
    }
    for (int entry = 1; entry <= kPaletteEntries; ++entry)
        painter.drawImage(EntryRect(entry), sheet, SheetRect(entry));
    if (selectedEntry >= 1 && selectedEntry <= kPaletteEntries) {
        painter.setPen(QPen(kSelected, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(EntryRect(selectedEntry).adjusted(-1, -1, 1, 1));
    }
}

void PalettePanel::mousePressEvent(QMouseEvent* event) {
    const int entry = EntryAt(event->position().toPoint());
    if (entry != 0) emit EntryChosen(entry);
}

bool PalettePanel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int entry = EntryAt(help->pos());
        if (entry != 0) {
            QToolTip::showText(help->globalPos(), PaletteEntryName(entry), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace zorvik::editor
