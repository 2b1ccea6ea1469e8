// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces of the form's design: its font, the buttons whose captions wrap, and the stand-in
// tile sheet drawn when the picture file is missing.
#pragma once

#include <QFont>
#include <QImage>
#include <QPushButton>

namespace zorvik::editor {

// The tile sheet's file below the program's data folder, and its size in pixels: 10 x 4
// images of 73 x 73.
constexpr char kTileSheetFile[] = "/data/editor-tiles.bmp";
constexpr int kSheetWidth = 730;
constexpr int kSheetHeight = 292;

// The closest bold sans-serif to the form's MS Sans Serif at the given pixel size.
QFont FormFont(int pixelSize);

// A stand-in tile sheet: each palette entry gets a coloured square with its number, so the
// editor stays usable without data/editor-tiles.bmp.
QImage FallbackTileSheet();

// A push button whose caption wraps onto several lines, as the narrow tool buttons need.
class WrapButton : public QPushButton {
    Q_OBJECT
  public:
    WrapButton(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zorvik::editor
