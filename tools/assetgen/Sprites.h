// SPDX-License-Identifier: GPL-3.0-or-later
// Shape shaders of the game's characters and objects, shared by the sheets, the title pictures
// and the editor's tile sheet. Coordinates are pixels of the picture being drawn.
#pragma once

#include <string>

#include "Raster.h"

namespace assetgen {

// The bottle: a pivot at the middle of its base, a lean (radians, positive leans the neck to
// the right), a stretch (vertical scale), the angle its face looks to (positive = right) and a
// few animation extras.
struct BottlePose {
    double axisX = 0;
    double baseY = 0;
    double tilt = 0;
    double stretch = 1;
    double face = 0.6;
    double slosh = 0;
    double glow = 0;
    double scale = 1;
};
Shader BottleShader(const BottlePose& pose);

// Stars: kind 0 (100), 1 (500), 2 (2500); frame 0..9 of the twinkle; centred at (cx, cy).
Shader StarShader(int kind, int frame, double cx, double cy, double scale = 1);
// Beam refill crystal, frame 0..19 of 20.
Shader RefillShader(int frame, double cx, double cy, double scale = 1);
// Stone rolled to frame 0..14 (24 degrees apart), radius r.
Shader StoneShader(int frame, double cx, double cy, double r);
// Cog wheel, frame 0..5.
Shader GearShader(int frame, double cx, double cy);
// Signpost with its top-left at (ox, oy), 52 x 68; red when active.
Shader SignpostShader(bool red, double ox, double oy, double scale = 1);
// The herb of the final goal in a 60 x 45 box at (ox, oy).
Shader HerbShader(double ox, double oy, double scale = 1);
// Crawling enemy, frame 0..9, in a 64 x 65 box at (ox, oy).
Shader FlexEnemyShader(int frame, double ox, double oy, double scale = 1);
// Figure enemy. standing: the ten-frame threat pose, else the twenty-frame walk; dir +1 / -1.
// (refX, footY): the figure's reference point and the ground line in the picture.
Shader FigureShader(bool standing, int frame, int dir, double refX, double footY, double scale = 1);
// Bold lettering: text drawn from (x, y) with each character in a cw x ch box, stroke radius
// rad and `advance` between characters; colours top to bottom. "'" after a letter puts an acute
// over it, "^" a caron.
Shader TextShader(const std::string& text, double x, double y, double cw, double ch, double rad,
                  double advance, Col top, Col bottom);

// Wraps a shader so that it is drawn scaled by s about the picture origin, then moved by (dx, dy).
Shader Scaled(const Shader& shader, double s, double dx, double dy);

}  // namespace assetgen
