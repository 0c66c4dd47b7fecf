#pragma once

#include <QColor>
#include <QPalette>

// The fonts and style the window was laid out for: "MS Sans Serif" and "Times New Roman"
// map to their metric twins, Liberation Sans 8.25 pt is the default font, and check boxes
// and option buttons put their captions as close to the box as the layout expects.
void use_window_look();

// The window's own colours around its grey `window`: black text, white boxes, light buttons
// and scroll bars. Every colour is fixed, so a desktop theme (a dark one above all) cannot
// put light text on the window's light boxes; each control sets its own colours on top.
QPalette window_palette(const QColor& window);
