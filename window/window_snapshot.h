#pragma once

#include "correction_text.h"

class frm_ZEL;

// What the window shows, as far as the correction file speaks of it.
CorrectionSnapshot take_snapshot(const frm_ZEL& window);

// Puts the values of `snapshot` into the controls, as the user would by typing and ticking
// (a tick is a tick: no box comes out greyed). The captions are left alone.
void show_snapshot(frm_ZEL& window, const CorrectionSnapshot& snapshot);
