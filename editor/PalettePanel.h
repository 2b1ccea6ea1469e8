// SPDX-License-Identifier: GPL-3.0-or-later
// The palette panel (Zobrazit > Paleta): all 32 palette entries at once, each named in its
// tooltip, and above them the nine entries used last, which the keys 1 to 9 pick.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

namespace zorvik::editor {

class PictureBox;

// The Czech name of palette entry 1..32 ("Hvězda 100", "Kámen", "Plošinka", …).
QString PaletteEntryName(int entry);

class PalettePanel : public QWidget {
    Q_OBJECT
  public:
    // How many entries used last the panel shows (and the keys 1..9 pick).
    static constexpr int kRecentCount = 9;

    // `sheet`: the tile sheet (Hiden) the images come from.
    PalettePanel(const PictureBox& sheet, QWidget* parent);
    QSize sizeHint() const override;

    // An entry was picked (here, in the five-slot palette or by a key): it heads the list of
    // entries used last, and the panel frames it.
    void Used(int entry);
    // The entry used `n`-th last (1: the one in use), or 0 when fewer were used.
    int Recent(int n) const;
    // The entry whose image lies under a point of the panel, or 0.
    int EntryAt(QPoint point) const;
    // Where entry `entry` is drawn, among all 32.
    QRect EntryRect(int entry) const;
    // Where the n-th entry used last is drawn (n 1..9).
    QRect RecentRect(int n) const;

  signals:
    void EntryChosen(int entry);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    const PictureBox& sheet_;
    std::vector<int> recent_;  // most recent first
};

}  // namespace zorvik::editor
