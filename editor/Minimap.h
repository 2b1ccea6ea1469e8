// SPDX-License-Identifier: GPL-3.0-or-later
// The minimap strip under the normal view (Zobrazit > Minimapa): all 50 columns small, the 18
// on view framed; a click or a drag there brings the pointed column to the middle of the view.
#pragma once

#include <QWidget>

namespace zorvik::editor {

class PictureBox;

class Minimap : public QWidget {
    Q_OBJECT
  public:
    // Pixels a cell on the strip.
    static constexpr int kCell = 10;

    // `canvas`: the whole map's picture (WholeMapView::Canvas), shown scaled down.
    Minimap(const PictureBox& canvas, QWidget* parent);
    QSize sizeHint() const override;

    // Part of the canvas (in its pixels) was drawn anew.
    void CanvasChanged(const QRect& area);

  signals:
    // The designer pointed at map column `col` (1..50).
    void ColumnChosen(int col);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void Choose(double x);

    const PictureBox& canvas_;
};

}  // namespace zorvik::editor
