// SPDX-License-Identifier: GPL-3.0-or-later
// The picture box widget and its drawing operations on an owned RGB image.
#include "PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

namespace zorvik::editor {

PictureBox::PictureBox(const QColor& background, QWidget* parent)
    : QWidget(parent), background_(background) {
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(background_);
    labelFont_.setFamily(QStringLiteral("DejaVu Sans"));
    labelFont_.setPixelSize(11);
    labelFont_.setBold(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::SetGeometry(int left, int top, int width, int height) {
    setGeometry(left, top, width, height);
    QImage resized(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    resized.fill(background_);
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = resized;
    update();
}

void PictureBox::SetPicture(const QImage& picture) {
    image_.fill(background_);
    QPainter painter(&image_);
    painter.drawImage(0, 0, picture.convertToFormat(QImage::Format_RGB32));
    painter.end();
    update();
}

void PictureBox::HoldUpdates(bool hold) {
    if (hold) {
        ++held_;
        return;
    }
    if (held_ > 0 && --held_ == 0 && !heldArea_.isEmpty()) {
        update(heldArea_);
        heldArea_ = QRect();
    }
}

void PictureBox::Dirty(const QRect& area) {
    if (held_ > 0) {
        heldArea_ = heldArea_.united(area);
    } else {
        update(area);
    }
}

void PictureBox::SetPixelClipped(int x, int y, QRgb color) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = color;
}

namespace {

// The part [first, last) of a run of `count` pixels starting at `start` that lies inside
// [0, limit).
struct Span {
    int first;
    int last;
};
Span Inside(int start, int count, int limit) {
    return {std::max(0, -start), std::min(count, limit - start)};
}

}  // namespace

void PictureBox::FillRect(int x, int y, int w, int h, QRgb color) {
    const Span cols = Inside(x, w, image_.width());
    const Span rows = Inside(y, h, image_.height());
    if (cols.first < cols.last) {
        for (int j = rows.first; j < rows.last; ++j) {
            QRgb* out = reinterpret_cast<QRgb*>(image_.scanLine(y + j)) + x;
            std::fill(out + cols.first, out + cols.last, color);
        }
    }
    Dirty(QRect(x, y, w, h));
}

void PictureBox::BitBlt(int x, int y, int w, int h, const PictureBox* src, int sx, int sy,
                        uint32_t rop) {
    const uint32_t index = (rop >> 16) & 0xFF;
    // Whole rows at a time through row pointers: these run for every cell of every redraw.
    if (index == 0x00 || index == 0xFF) {
        FillRect(x, y, w, h, index == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        return;
    }
    const Span cols = Inside(x, w, image_.width());
    const Span rows = Inside(y, h, image_.height());
    if (src != nullptr) {
        const QImage& from = src->image_;
        for (int j = rows.first; j < rows.last; ++j) {
            const int fy = sy + j;
            if (fy < 0 || fy >= from.height()) continue;
            QRgb* out = reinterpret_cast<QRgb*>(image_.scanLine(y + j)) + x;
            const auto* line = reinterpret_cast<const QRgb*>(from.constScanLine(fy));
            const int fromWidth = static_cast<int>(from.width());
            for (int i = cols.first; i < cols.last; ++i) {
                const int fx = sx + i;
                if (fx < 0 || fx >= fromWidth) continue;
                out[i] = line[fx];
            }
        }
    }
    Dirty(QRect(x, y, w, h));
}

void PictureBox::StretchBlt(int x, int y, int w, int h, const PictureBox& src, int sx, int sy,
                            int sw, int sh) {
    if (w <= 0 || h <= 0) return;
    const Span cols = Inside(x, w, image_.width());
    const Span rows = Inside(y, h, image_.height());
    if (cols.first >= cols.last || rows.first >= rows.last) {
        Dirty(QRect(x, y, w, h));
        return;
    }
    // The target's rows are taken first: a box drawing onto itself then reads its own pixels
    // as they are being written, as a pixel-by-pixel loop would.
    auto* target = reinterpret_cast<QRgb*>(image_.bits());
    const qsizetype targetStride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const QImage& from = src.image_;
    const auto* source = reinterpret_cast<const QRgb*>(from.constBits());
    const qsizetype sourceStride = from.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const int fromWidth = static_cast<int>(from.width());
    const int fromHeight = static_cast<int>(from.height());
    // The source column of every destination column, or -1 outside the source (drawn black).
    thread_local std::vector<int> columns;
    columns.resize(static_cast<size_t>(w));
    bool allInside = true;
    for (int i = cols.first; i < cols.last; ++i) {
        const int fx = sx + i * sw / w;
        const bool inside = fx >= 0 && fx < fromWidth;
        columns[static_cast<size_t>(i)] = inside ? fx : -1;
        allInside = allInside && inside;
    }
    const int* column = columns.data();
    for (int j = rows.first; j < rows.last; ++j) {
        const int fy = sy + j * sh / h;
        QRgb* out = target + static_cast<qsizetype>(y + j) * targetStride + x;
        if (fy < 0 || fy >= fromHeight) {
            std::fill(out + cols.first, out + cols.last, qRgb(0, 0, 0));
            continue;
        }
        const QRgb* line = source + static_cast<qsizetype>(fy) * sourceStride;
        if (allInside) {
            for (int i = cols.first; i < cols.last; ++i)
                out[i] = line[column[i]];
        } else {
            for (int i = cols.first; i < cols.last; ++i)
                out[i] = column[i] >= 0 ? line[column[i]] : qRgb(0, 0, 0);
        }
    }
    Dirty(QRect(x, y, w, h));
}

namespace {

// What DrawTextA paints: the text's box filled with the background, then the text, both
// clipped to `clip`. Returns the text's box.
QRect PaintLabel(QImage& image, const QFont& font, const QColor& background, const QColor& ink,
                 const QString& text, const QRect& clip) {
    QPainter painter(&image);
    painter.setClipRect(clip);
    painter.setFont(font);
    const QRect bounds =
        painter.boundingRect(clip, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    painter.fillRect(bounds, background);
    painter.setPen(ink);
    painter.drawText(clip, Qt::AlignLeft | Qt::AlignTop, text);
    return bounds;
}

}  // namespace

QRect PictureBox::DrawTextA(const QString& text, int count, int left, int top, int right,
                            int bottom) {
    const QString shown = count < 0 ? text : text.left(count);
    const QRect clip(QPoint(left, top), QPoint(right - 1, bottom - 1));
    // Labels repeat (speeds, link numbers): each is rendered once into a small block and then
    // copied. Rendered on black and on white first: the block is used only when the text
    // touches nothing outside its opaque box, so copying gives exactly what painting gives.
    const QString key = shown + QLatin1Char('|') + QString::number(clip.width()) +
                        QLatin1Char('x') + QString::number(clip.height()) + QLatin1Char('|') +
                        QString::number(background_.rgb()) + QLatin1Char('|') +
                        QString::number(textColor_.rgb());
    auto found = labels_.find(key);
    if (found == labels_.end()) {
        CachedLabel label;
        if (clip.isValid()) {
            QImage onBlack(clip.size(), QImage::Format_RGB32);
            onBlack.fill(Qt::black);
            QImage onWhite(clip.size(), QImage::Format_RGB32);
            onWhite.fill(Qt::white);
            const QRect local(QPoint(0, 0), clip.size());
            label.box = PaintLabel(onBlack, labelFont_, background_, textColor_, shown, local)
                            .intersected(local);
            PaintLabel(onWhite, labelFont_, background_, textColor_, shown, local);
            label.usable = true;
            for (int y = 0; y < clip.height() && label.usable; ++y) {
                for (int x = 0; x < clip.width(); ++x) {
                    const bool inside = label.box.contains(x, y);
                    const QRgb b = onBlack.pixel(x, y);
                    const QRgb w = onWhite.pixel(x, y);
                    if (inside ? b != w : (b != qRgb(0, 0, 0) || w != qRgb(255, 255, 255))) {
                        label.usable = false;
                        break;
                    }
                }
            }
            if (label.usable) label.block = onBlack.copy(label.box);
        }
        found = labels_.emplace(key, std::move(label)).first;
    }
    const CachedLabel& label = found->second;
    if (label.usable) {
        const QRect target = label.box.translated(clip.topLeft());
        const Span cols = Inside(target.left(), target.width(), image_.width());
        const Span rows = Inside(target.top(), target.height(), image_.height());
        for (int j = rows.first; j < rows.last; ++j) {
            const auto* from = reinterpret_cast<const QRgb*>(label.block.constScanLine(j));
            QRgb* out = reinterpret_cast<QRgb*>(image_.scanLine(target.top() + j)) + target.left();
            std::copy(from + cols.first, from + cols.last, out + cols.first);
        }
        Dirty(clip);
        return target;
    }
    const QRect bounds = PaintLabel(image_, labelFont_, background_, textColor_, shown, clip);
    Dirty(clip);
    return bounds.intersected(clip);
}

void PictureBox::Circle(int cx, int cy, int radius, const QColor& color) {
    // Midpoint circle: every octant point once, so the ring is exactly one pixel wide.
    const QRgb rgb = color.rgb();
    int x = radius;
    int y = 0;
    int error = 1 - radius;
    while (x >= y) {
        SetPixelClipped(cx + x, cy + y, rgb);
        SetPixelClipped(cx + y, cy + x, rgb);
        SetPixelClipped(cx - y, cy + x, rgb);
        SetPixelClipped(cx - x, cy + y, rgb);
        SetPixelClipped(cx - x, cy - y, rgb);
        SetPixelClipped(cx - y, cy - x, rgb);
        SetPixelClipped(cx + y, cy - x, rgb);
        SetPixelClipped(cx + x, cy - y, rgb);
        ++y;
        if (error < 0) {
            error += 2 * y + 1;
        } else {
            --x;
            error += 2 * (y - x) + 1;
        }
    }
    Dirty(QRect(cx - radius, cy - radius, 2 * radius + 1, 2 * radius + 1));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Only the part of the widget the picture does not cover needs the background.
    const QRegion uncovered = QRegion(event->rect()) - QRegion(image_.rect());
    for (const QRect& r : uncovered)
        painter.fillRect(r, background_);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
    if (overlay_) overlay_(painter);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit MouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()), at.x(), at.y());
}

void PictureBox::wheelEvent(QWheelEvent* event) {
    // 120 units make one notch; smooth wheels send parts of one, which add up.
    constexpr int kNotch = 120;
    wheelRest_ += event->angleDelta();
    const int up = wheelRest_.y() / kNotch;
    const int left = wheelRest_.x() / kNotch;
    wheelRest_ -= QPoint(left * kNotch, up * kNotch);
    if (up != 0 || left != 0) emit WheelTurned(up, left);
    event->accept();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            emit KeyPressed(event->key());
            event->accept();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void PictureBox::leaveEvent(QEvent* event) {
    emit PointerLeft();
    QWidget::leaveEvent(event);
}

int ButtonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= kLeftButton;
    if (buttons & Qt::RightButton) code |= kRightButton;
    if (buttons & Qt::MiddleButton) code |= kMiddleButton;
    return code;
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

}  // namespace zorvik::editor
