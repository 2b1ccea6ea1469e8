// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap text effect: every character flies in from the bottom edge to its place.
#include "J_PismoEfekt.h"

#include "A_deklarace.h"
#include "DikCodes.h"
#include "Numbers.h"

namespace zorvik {

namespace {

using namespace dx::keys;

constexpr int kSlots = 10;
constexpr int kAdvance = 20;     // pixels from one character to the next
constexpr int kLineHeight = 30;  // pixels from one line to the next
constexpr int kStyleShift = 99;  // the second colour set lies this much lower on the sheet
constexpr dx::RECT kScreen{0, 0, dx::kScreenWidth, dx::kScreenHeight};
constexpr dx::RECT kEmptyGlyph{0, 0, 1, 1};
constexpr int32_t kKeyed = dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT;

struct Glyph {
    dx::RECT source;
    int offsetX = 0;
    int offsetY = 0;
};

dx::RECT Shifted(int32_t left, int32_t top, int32_t right, int32_t bottom, int style) {
    const int32_t shift = kStyleShift * style;
    return {left, top + shift, right, bottom + shift};
}

// Source rectangle on fontSheet and landing offset of one drawn character.
Glyph GlyphOf(unsigned char ch, int style) {
    switch (ch) {
        case ',':
            return {Shifted(297, 66, 309, 97, style), 3, 5};
        case '.':
            return {Shifted(309, 66, 321, 97, style), 0, 5};
        case '?':
            return {Shifted(324, 66, 336, 97, style), 7, -2};
        case '!':
            return {Shifted(336, 66, 348, 97, style), 7, -2};
        default:
            break;
    }
    int cell = ch;  // any other character shows the cell of its code
    if (ch >= 'A' && ch <= 'Z') cell = ch - 'A';
    if (ch >= '1' && ch <= '9') cell = 26 + (ch - '1');
    if (ch == '0') cell = 35;
    const int32_t left = 27 * (cell % 13);
    const int32_t top = 33 * (cell / 13);
    return {Shifted(left, top, left + 25, top + 31, style), 0, 0};
}

dx::RECT MarkOf(char mark, int style) {
    return mark == '*' ? Shifted(282, 74, 294, 87, style) : Shifted(270, 74, 282, 87, style);
}

bool IsMark(char ch) {
    return ch == '*' || ch == '-';
}

int32_t Pixel(double position) {
    return static_cast<int32_t>(RoundHalfEven(position));
}

bool IsEmpty(const dx::RECT& r) {
    return r.left == kEmptyGlyph.left && r.top == kEmptyGlyph.top && r.right == kEmptyGlyph.right &&
           r.bottom == kEmptyGlyph.bottom;
}

// Draws a slot's glyph and mark at its current position. The empty glyph of a slot that has
// not yet taken a character is not drawn at all.
void DrawSlot(dx::DirectDrawSurface7& target, const GlyphSlot& slot, const dx::RECT& mark) {
    if (!IsEmpty(slot.source)) {
        target.BltFast(Pixel(slot.x), Pixel(slot.y), fontSheet.get(), slot.source, kKeyed);
    }
    if (slot.hasMark != 0) {
        target.BltFast(Pixel(slot.x + 8), Pixel(slot.y - 6), fontSheet.get(), mark, kKeyed);
    }
}

// The text cursor, the layout rules and the character feed of one call.
class TextFeed {
  public:
    TextFeed(int16_t x, int16_t y, int16_t right, int16_t left, const std::string& text)
        : x_(x), y_(y), right_(right), left_(left), text_(text) {}

    // Takes the next drawn character of the text into the slot and launches it over `frames`
    // steps; past the end of the text the slot goes idle.
    void TakeInto(int b, int16_t frames) {
        GlyphSlot& slot = glyphSlots[static_cast<size_t>(b)];
        const int len = static_cast<int>(text_.size());
        char ch = 0;
        for (;;) {
            ++pos_;
            if (pos_ > len) {
                pos_ = len;
                slot.active = kFalse;
                return;
            }
            LookAhead();
            ch = At(pos_);
            if (ch == ' ') {
                Advance();
            } else if (ch == 'c') {
                style_ = 1;
            } else if (ch == 'z') {
                style_ = 0;
            } else if (ch == '>') {
                NewLine();
            } else {
                break;
            }
        }

        Advance();
        const Glyph glyph = GlyphOf(static_cast<unsigned char>(ch), style_);
        const double targetX = x_ + glyph.offsetX;
        const double targetY = y_ + glyph.offsetY;
        slot.source = glyph.source;
        slot.x = dx::Rnd() * dx::kScreenWidth;
        slot.y = dx::kScreenHeight;
        slot.dx = (targetX - slot.x) / frames;
        slot.dy = (targetY - dx::kScreenHeight) / frames;
        slot.counter = 0;

        // A mark travels with its letter only when two more characters follow it; otherwise
        // it is later drawn as an ordinary character.
        slot.hasMark = kFalse;
        if (pos_ + 2 < len && IsMark(At(pos_ + 1))) {
            ++pos_;
            glyphMarks[static_cast<size_t>(b)] = MarkOf(At(pos_), style_);
            slot.hasMark = kTrue;
        }
    }

  private:
    char At(int position) const { return text_[static_cast<size_t>(position - 1)]; }

    void NewLine() {
        x_ = left_;
        y_ += kLineHeight;
    }

    void Advance() {
        x_ += kAdvance;
        if (x_ > right_) NewLine();
    }

    // Breaks the line before a word (counted with the space that ends it) that would pass the
    // right margin; marks take no width.
    void LookAhead() {
        int w = x_;
        const int len = static_cast<int>(text_.size());
        for (int i = pos_; i <= len; ++i) {
            if (!IsMark(At(i))) w += kAdvance;
            if (w > right_) {
                NewLine();
                return;
            }
            if (At(i) == ' ') return;
        }
    }

    int x_;
    int y_;
    int right_;
    int left_;
    const std::string& text_;
    int pos_ = 0;
    int style_ = 0;
};

}  // namespace

void DrawFlyingText(int16_t x, int16_t y, int16_t right, int16_t left, int16_t& frames,
                    const std::string& text) {
    backBuffer->BltColorFill(kScreen, 0);
    backdropSurface->BltFast(0, 0, primarySurface.get(), kScreen, dx::DDBLTFAST_WAIT);

    TextFeed feed(x, y, right, left, text);
    textSkipped = kFalse;
    if (frames < 1) frames = 1;

    for (int i = 1; i <= kSlots; ++i) {
        GlyphSlot& slot = glyphSlots[static_cast<size_t>(i)];
        slot.counter = ToInt16(frames / 10.0 * i);
        slot.active = kTrue;
        slot.source = kEmptyGlyph;
        glyphMarks[static_cast<size_t>(i)] = kEmptyGlyph;
        slot.hasMark = kFalse;
    }

    bool anyActive = true;
    while (anyActive) {
        anyActive = false;
        backBuffer->BltColorFill(kScreen, 0);
        backBuffer->BltFast(0, 0, backdropSurface.get(), kScreen, kKeyed);
        for (int b = 1; b <= kSlots; ++b) {
            GlyphSlot& slot = glyphSlots[static_cast<size_t>(b)];
            const dx::RECT& mark = glyphMarks[static_cast<size_t>(b)];
            slot.x += slot.dx;
            slot.y += slot.dy;
            slot.counter = static_cast<int16_t>(slot.counter + 1);

            if (textSkippable != 0) {
                keyboard->GetDeviceStateKeyboard(keyState);
                if (keyState.key[kDikEscape] != 0) {
                    textSkipped = kTrue;
                    return;
                }
            }

            // An idle slot stamps nothing any more.
            if (slot.active != 0 && slot.counter >= frames) {
                DrawSlot(*backdropSurface, slot, mark);
                feed.TakeInto(b, frames);
            }
            if (slot.active != 0) {
                anyActive = true;
                DrawSlot(*backBuffer, slot, glyphMarks[static_cast<size_t>(b)]);
            }
        }
        primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
    }

    backBuffer->BltColorFill(kScreen, 0);
    backBuffer->BltFast(0, 0, backdropSurface.get(), kScreen, kKeyed);
    primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
}

}  // namespace zorvik
