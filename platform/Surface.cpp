// SPDX-License-Identifier: GPL-3.0-or-later
// DirectDrawSurface7: software RGB565 surfaces with DirectDraw's blits (which never clip),
// GDI-style lines and the primary surface's flip.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "DirectX.h"
#include "Host.h"
#include "PlatformState.h"

namespace dx {

namespace {

// A rectangle is usable only when it is non-empty and lies wholly inside a width x height surface.
bool RectInside(int64_t left, int64_t top, int64_t right, int64_t bottom, int width, int height) {
    return left >= 0 && top >= 0 && left < right && top < bottom && right <= width &&
           bottom <= height;
}

bool RectInside(const RECT& r, int width, int height) {
    return RectInside(r.left, r.top, r.right, r.bottom, width, height);
}

// One row of a keyed copy: a pixel whose value lies in [low, low + span] leaves the target as
// it was. Written as a branchless select over fixed blocks of 16 so that the compiler turns it
// into vector code even at -O2; the unsigned difference tests both ends of the key at once.
// Built for AVX2 as well as for the baseline; the loader picks the version the processor runs.
__attribute__((target_clones("avx2", "default"))) void KeyedRow(uint16_t* __restrict out,
                                                                const uint16_t* __restrict in,
                                                                int w, uint16_t low,
                                                                uint16_t span) {
    int col = 0;
    for (; col + 16 <= w; col += 16) {
        for (int i = 0; i < 16; ++i) {
            const uint16_t value = in[col + i];
            const bool inKey = static_cast<uint16_t>(value - low) <= span;
            out[col + i] = inKey ? out[col + i] : value;
        }
    }
    for (; col < w; ++col) {
        const uint16_t value = in[col];
        const bool inKey = static_cast<uint16_t>(value - low) <= span;
        out[col] = inKey ? out[col] : value;
    }
}

// Fills `count` pixels. A value whose two bytes are equal (black above all) is a byte fill,
// which the C library does fastest; any other goes in blocks of 16 that compile to vector
// stores even at -O2.
void FillRow(uint16_t* out, size_t count, uint16_t value) {
    if ((value & 0xFF) == (value >> 8)) {
        std::memset(out, value & 0xFF, count * sizeof(uint16_t));
        return;
    }
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        for (size_t k = 0; k < 16; ++k)
            out[i + k] = value;
    }
    for (; i < count; ++i)
        out[i] = value;
}

// The buffer same-surface copies read from, grown as needed and never shrunk.
std::vector<uint16_t>& SnapshotBuffer(size_t size) {
    thread_local std::vector<uint16_t> buffer;
    if (buffer.size() < size) buffer.resize(size);
    return buffer;
}

}  // namespace

DirectDrawSurface7::DirectDrawSurface7(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) {
        throw PlatformError("CreateSurface: invalid surface size " + std::to_string(width) + " x " +
                            std::to_string(height));
    }
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

DirectDrawSurface7::~DirectDrawSurface7() {
    auto& state = detail::State();
    if (state.primary == this) {
        state.primary = nullptr;
        state.primaryDirty = false;
    }
}

void DirectDrawSurface7::MarkDirtyIfPrimary() {
    if (isPrimary_) detail::State().primaryDirty = true;
}

int32_t DirectDrawSurface7::CopyPixels(int32_t x, int32_t y, DirectDrawSurface7* src,
                                       const RECT& srcRect, int32_t flags) {
    if (src == nullptr) throw PlatformError("BltFast: no source surface");
    if (!RectInside(srcRect, src->width_, src->height_)) return DDERR_INVALIDRECT;
    const int w = srcRect.right - srcRect.left;
    const int h = srcRect.bottom - srcRect.top;
    if (!RectInside(x, y, int64_t{x} + w, int64_t{y} + h, width_, height_)) {
        return DDERR_INVALIDRECT;
    }
    detail::State().bytesCopied += static_cast<unsigned long long>(w) * h * sizeof(uint16_t);

    // A copy within one surface may overlap: read from a snapshot of the source rectangle,
    // kept in a buffer that is reused from blit to blit.
    const uint16_t* from = src->pixels_.data();
    size_t fromStride = static_cast<size_t>(src->width_);
    size_t fromOffset = static_cast<size_t>(srcRect.top) * fromStride + srcRect.left;
    if (src == this) {
        std::vector<uint16_t>& snapshot = SnapshotBuffer(static_cast<size_t>(w) * h);
        for (int row = 0; row < h; ++row) {
            std::memcpy(&snapshot[static_cast<size_t>(row) * w],
                        from + fromOffset + static_cast<size_t>(row) * fromStride,
                        static_cast<size_t>(w) * sizeof(uint16_t));
        }
        from = snapshot.data();
        fromStride = static_cast<size_t>(w);
        fromOffset = 0;
    }

    // The key as a range of 16-bit values; a key no pixel can fall into makes a plain copy.
    const bool keyRequested = (flags & DDBLTFAST_SRCCOLORKEY) != 0 && src->hasColorKey_;
    const int32_t keyLow = std::max<int32_t>(src->colorKey_.low, 0);
    const int32_t keyHigh = std::min<int32_t>(src->colorKey_.high, 0xFFFF);
    const bool keyed = keyRequested && keyLow <= keyHigh;
    const auto low = static_cast<uint16_t>(keyLow);
    const auto span = static_cast<uint16_t>(keyHigh - keyLow);

    const uint16_t* in = from + fromOffset;
    uint16_t* out = pixels_.data() + static_cast<size_t>(y) * width_ + x;
    const size_t outStride = static_cast<size_t>(width_);
    if (!keyed && w == width_ && static_cast<size_t>(w) == fromStride) {
        std::memcpy(out, in, static_cast<size_t>(w) * h * sizeof(uint16_t));  // whole rows
    } else {
        for (int row = 0; row < h; ++row, in += fromStride, out += outStride) {
            if (keyed) {
                KeyedRow(out, in, w, low, span);
            } else {
                std::memcpy(out, in, static_cast<size_t>(w) * sizeof(uint16_t));
            }
        }
    }
    MarkDirtyIfPrimary();
    return DD_OK;
}

int32_t DirectDrawSurface7::Blt(const RECT& destRect, DirectDrawSurface7* src, const RECT& srcRect,
                                int32_t /*flags*/) {
    if (src == nullptr) throw PlatformError("Blt: no source surface");
    if (detail::dryRun) return DD_OK;
    if (!RectInside(srcRect, src->width_, src->height_) || !RectInside(destRect, width_, height_)) {
        return DDERR_INVALIDRECT;
    }
    const int64_t sw = srcRect.right - srcRect.left;
    const int64_t sh = srcRect.bottom - srcRect.top;
    const int64_t dw = destRect.right - destRect.left;
    const int64_t dh = destRect.bottom - destRect.top;
    detail::State().bytesCopied += static_cast<unsigned long long>(dw * dh) * sizeof(uint16_t);

    // Nearest neighbour sampling at pixel centres; a snapshot keeps same-surface copies exact.
    const uint16_t* source = src->pixels_.data();
    if (src == this) {
        std::vector<uint16_t>& snapshot = SnapshotBuffer(pixels_.size());
        std::copy(pixels_.begin(), pixels_.end(), snapshot.begin());
        source = snapshot.data();
    }
    thread_local std::vector<int> columns;
    columns.resize(static_cast<size_t>(dw));
    for (int64_t i = 0; i < dw; ++i) {
        columns[static_cast<size_t>(i)] =
            static_cast<int>(srcRect.left + (2 * i + 1) * sw / (2 * dw));
    }
    for (int64_t j = 0; j < dh; ++j) {
        const int64_t sy = srcRect.top + (2 * j + 1) * sh / (2 * dh);
        const uint16_t* in = source + static_cast<size_t>(sy) * src->width_;
        uint16_t* out =
            pixels_.data() + static_cast<size_t>(destRect.top + j) * width_ + destRect.left;
        for (int64_t i = 0; i < dw; ++i)
            out[i] = in[columns[static_cast<size_t>(i)]];
    }
    MarkDirtyIfPrimary();
    return DD_OK;
}

int32_t DirectDrawSurface7::FillPixels(const RECT& destRect, int32_t color) {
    if (!RectInside(destRect, width_, height_)) return DDERR_INVALIDRECT;
    const auto value = static_cast<uint16_t>(color & 0xFFFF);
    detail::State().bytesFilled += static_cast<unsigned long long>(destRect.right - destRect.left) *
                                   (destRect.bottom - destRect.top) * sizeof(uint16_t);
    uint16_t* out = pixels_.data() + static_cast<size_t>(destRect.top) * width_;
    const size_t rowPixels = static_cast<size_t>(destRect.right - destRect.left);
    if (destRect.left == 0 && destRect.right == width_) {
        FillRow(out, rowPixels * (destRect.bottom - destRect.top), value);  // whole rows at once
    } else {
        for (int row = destRect.top; row < destRect.bottom; ++row, out += width_)
            FillRow(out + destRect.left, rowPixels, value);
    }
    MarkDirtyIfPrimary();
    return DD_OK;
}

void DirectDrawSurface7::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (detail::dryRun) return;
    // Bresenham from the start point, stopping before the end point as GDI's LineTo does.
    int64_t x = x1;
    int64_t y = y1;
    const int64_t dx = std::llabs(int64_t{x2} - x1);
    const int64_t dy = std::llabs(int64_t{y2} - y1);
    const int64_t stepX = x2 >= x1 ? 1 : -1;
    const int64_t stepY = y2 >= y1 ? 1 : -1;
    const int64_t steps = std::max(dx, dy);
    int64_t error = 0;
    bool drew = false;
    for (int64_t n = 0; n < steps; ++n) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            pixels_[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)] = foreColor_;
            drew = true;
        }
        if (dx >= dy) {
            x += stepX;
            error += 2 * dy;
            if (error > dx) {
                y += stepY;
                error -= 2 * dx;
            }
        } else {
            y += stepY;
            error += 2 * dx;
            if (error > dy) {
                x += stepX;
                error -= 2 * dy;
            }
        }
    }
    if (drew) MarkDirtyIfPrimary();
}

void DirectDrawSurface7::SetColorKey(int32_t flags, const DDCOLORKEY& key) {
    if ((flags & DDCKEY_SRCBLT) == 0) {
        throw PlatformError("SetColorKey: only source colour keys (DDCKEY_SRCBLT) are supported");
    }
    colorKey_ = key;
    hasColorKey_ = true;
}

void DirectDrawSurface7::SetForeColor(int32_t rgb) {
    foreColor_ = To565(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

void DirectDrawSurface7::Flip(DirectDrawSurface7* overrideSurface, int32_t flags) {
    if (!isPrimary_ || !backBuffer_) throw PlatformError("Flip: not a primary surface");
    if (overrideSurface != nullptr && overrideSurface != backBuffer_.get()) {
        throw PlatformError("Flip: the surface is not part of the flipping chain");
    }
    auto& state = detail::State();
    if (!detail::dryRun) pixels_.swap(backBuffer_->pixels_);
    state.readsSinceFlip = 0;
    state.primaryDirty = false;
    Host& host = CurrentHost();
    host.Present(pixels_.data());
    if ((flags & DDFLIP_WAIT) != 0) host.WaitForFrame();
}

std::shared_ptr<DirectDrawSurface7> DirectDrawSurface7::GetAttachedSurface(const DDSCAPS2& caps) {
    if (!isPrimary_ || !backBuffer_) {
        throw PlatformError("GetAttachedSurface: the surface has no attached surface");
    }
    if ((caps.lCaps & DDSCAPS_BACKBUFFER) == 0) {
        throw PlatformError("GetAttachedSurface: only the back buffer can be asked for");
    }
    return backBuffer_;
}

}  // namespace dx
