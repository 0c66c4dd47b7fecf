#pragma once

#include "entry_table.h"

#include <optional>

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool is_valid_civil(CivilDate date);
SerialDate serial_from_civil(CivilDate date);
CivilDate civil_from_serial(SerialDate serial);

// Today's local date. Tests fix it with set_today_for_testing; nullopt returns to the clock.
SerialDate today();
void set_today_for_testing(std::optional<SerialDate> day);
