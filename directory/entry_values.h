#pragma once

#include "correction_text.h"
#include "entry_table.h"

#include <QString>

// An entry's values as the window shows and collects them: choices, ticks (greyed for a stored
// 2) and texts with line breaks as CR LF, with the window's captions beside them.
using EntryValues = CorrectionSnapshot;

// The window's captions, every value empty: what a row that holds no entry yet shows.
EntryValues blank_entry();

// `values` with every choice, tick and text emptied, the captions kept.
EntryValues emptied(EntryValues values);

// What entry `e` holds, as the window shows it. A salutation or flag the controls cannot show
// comes out as none chosen, or clear.
EntryValues entry_values(const EntryTable& table, int e);

// "Surname, First names" of the person `values` names, for messages.
QString person_of(const EntryValues& values);

// Whether storing `values` into entry `e` would empty it: it held a surname and `values` has
// none, or most of what it held (texts, ticks, choices) would go.
bool empties_entry(const EntryTable& table, int e, const EntryValues& values);
