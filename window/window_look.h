#pragma once

// The fonts and style the window was laid out for: "MS Sans Serif" and "Times New Roman"
// map to their metric twins, Liberation Sans 8.25 pt is the default font, and check boxes
// and option buttons put their captions as close to the box as the layout expects.
void use_window_look();
