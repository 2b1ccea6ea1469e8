// SPDX-License-Identifier: GPL-3.0-or-later
// DirectInput keyboard scan codes of the keys the game and the pad mapping use; the index of a
// key in the keyboard state.
#pragma once

namespace dx::keys {

constexpr int kDikEscape = 1;
constexpr int kDikEnter = 28;
constexpr int kDikLeftCtrl = 29;
constexpr int kDikLeftShift = 42;
constexpr int kDikRightShift = 54;
constexpr int kDikSpace = 57;
constexpr int kDikKeypadEnter = 156;
constexpr int kDikRightCtrl = 157;
constexpr int kDikUp = 200;
constexpr int kDikLeft = 203;
constexpr int kDikRight = 205;
constexpr int kDikDown = 208;

}  // namespace dx::keys
