#pragma once

#include "correction_text.h"
#include "empty_window_lines.h"

// The window's captions, as the correction file of the empty window shows them.
inline CorrectionSnapshot window_snapshot() {
    const QStringList lines = empty_window_lines();
    const auto caption = [&lines](int line) {
        const QString text =
            lines[line - 1].startsWith("  ") ? lines[line - 1].mid(2) : lines[line - 1];
        return text.left(text.lastIndexOf(":  "));
    };
    CorrectionSnapshot w;
    for (int i = 0; i < 3; ++i) w.Opt_Mr_Mrs[i].caption = caption(1 + i);
    for (int i = 0; i < 2; ++i) w.chk_titel[i].caption = caption(6 + i);
    const int label_lines[] = {10, 11, 13, 16, 17, 18, 20, 21, 22, 24};
    for (int i = 1; i <= 10; ++i) w.label1[i] = caption(label_lines[i - 1]);
    for (int i = 0; i < 6; ++i) w.Chk_organ[i].caption = caption(27 + i);
    for (int i = 0; i < 28; ++i) w.Chh_equipm[i].caption = caption(44 + i);
    return w;
}
