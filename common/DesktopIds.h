// SPDX-License-Identifier: GPL-3.0-or-later
// The names that tie each program's window to its desktop entry: the desktop file's id (also
// its Wayland app id and icon name) and the X11 window class the entry's StartupWMClass names.
#pragma once

namespace zorvik::desktop {

inline constexpr char kGameId[] = "cz.zorvik.zorvik";
inline constexpr char kGameWindowClass[] = "zorvik";
inline constexpr char kEditorId[] = "cz.zorvik.editor";
inline constexpr char kEditorWindowClass[] = "zorvik-editor";

}  // namespace zorvik::desktop
