// SPDX-License-Identifier: GPL-3.0-or-later
// What ties the editor's windows to its desktop entry: the Wayland app id and the window icon.
#pragma once

namespace zorvik::editor {

// Called by main before the first window is made: the app id becomes the desktop entry's id
// (X11 keeps the program's name as the class, which the entry's StartupWMClass names), and
// every window gets the editor's icon: the installed theme's when there is one, otherwise the
// one built into the program.
void IntroduceToTheDesktop();

}  // namespace zorvik::editor
