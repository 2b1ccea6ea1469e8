// SPDX-License-Identifier: GPL-3.0-or-later
// A picture box: a widget that owns an image, offers the GDI-style drawing operations the
// editor uses (BitBlt, StretchBlt, SetTextColor, DrawTextA, a one-pixel circle) and shows
// that image on screen. Mouse presses and drags are reported in the editor's button codes.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <functional>
#include <unordered_map>

namespace zorvik::editor {

// Raster operations: the index in bits 16..23 selects what is written.
constexpr uint32_t kSrcCopy = 0x00CC0020;  // copy the source
constexpr uint32_t kBlackness = 1;         // index 0: black, no source needed
constexpr uint32_t kWhiteness = 0x00FF0062;

// Mouse-button codes of the editor's handlers: 1 left, 2 right, 4 middle (sums for several).
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    // The image has the widget's size and starts filled with the background colour.
    PictureBox(const QColor& background, QWidget* parent = nullptr);

    // Resizes the widget and its image; the part of the image that stays is kept.
    void SetGeometry(int left, int top, int width, int height);

    const QImage& Image() const { return image_; }
    // Replaces the picture (for the tile sheet): drawn at (0, 0) over the background.
    void SetPicture(const QImage& picture);
    QColor Pixel(int x, int y) const { return image_.pixelColor(x, y); }

    // Copies w x h pixels from (sx, sy) of src to (x, y); with a raster operation that needs
    // no source (black, white) src may be null. Parts outside either image are skipped.
    void BitBlt(int x, int y, int w, int h, const PictureBox* src, int sx, int sy,
                uint32_t rop = kSrcCopy);
    // Scales sw x sh pixels from (sx, sy) of src onto w x h pixels at (x, y), nearest
    // neighbour; source pixels outside src's image read as black.
    void StretchBlt(int x, int y, int w, int h, const PictureBox& src, int sx, int sy, int sw,
                    int sh);
    // Fills w x h pixels at (x, y) with one colour; parts outside the image are skipped.
    void FillRect(int x, int y, int w, int h, QRgb color);
    void SetTextColor(const QColor& color) { textColor_ = color; }
    QColor TextColor() const { return textColor_; }
    // Draws the first `count` characters of text (all with count -1) at the rectangle's
    // top-left, clipped to the rectangle, on an opaque background of the box's colour.
    // Returns the area painted.
    QRect DrawTextA(const QString& text, int count, int left, int top, int right, int bottom);
    // A circle drawn with a one-pixel pen, no fill.
    void Circle(int cx, int cy, int radius, const QColor& color);

    // While held, the areas drawn are collected and shown with one update when released (a
    // full redraw of the map view would otherwise queue hundreds of small ones). Nests.
    void HoldUpdates(bool hold);

    // Drawn over the image on screen only (the image itself is unchanged); null: nothing.
    void SetOverlay(std::function<void(QPainter&)> overlay) { overlay_ = std::move(overlay); }

  signals:
    // Button codes as above; for a move, the buttons held; for a release, the button let go.
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    // Whole wheel notches: positive away from the user (up) or to the left.
    void WheelTurned(int notchesUp, int notchesLeft);
    // A key pressed while the box has the focus (auto-repeats included).
    void KeyPressed(int key);
    // The pointer left the box.
    void PointerLeft();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void SetPixelClipped(int x, int y, QRgb color);
    void Dirty(const QRect& area);

    QImage image_;
    QColor background_;
    QColor textColor_{Qt::black};
    QFont labelFont_;
    std::function<void(QPainter&)> overlay_;
    // Rendered labels by text, clip size and colours (see DrawTextA).
    struct CachedLabel {
        bool usable = false;
        QRect box;  // relative to the clip's top-left
        QImage block;
    };
    std::unordered_map<QString, CachedLabel> labels_;
    QPoint wheelRest_;
    int held_ = 0;
    QRect heldArea_;  // wheel turn not yet making a whole notch
};

// The editor's code for a set of Qt mouse buttons.
int ButtonCode(Qt::MouseButtons buttons);
// The editor's shift argument: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace zorvik::editor
