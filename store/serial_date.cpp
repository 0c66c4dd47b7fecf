#include "serial_date.h"

#include <QDate>

#include <cstdint>

namespace {
// Days from 0000-03-01 (proleptic Gregorian); putting March first makes the leap day the
// last day of the year, so counting days needs no month table (checking a date still does).
constexpr std::int64_t days_from_civil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

constexpr std::int64_t epoch = days_from_civil(1899, 12, 30);

std::optional<SerialDate> fixed_today;
} // namespace

bool is_valid_civil(CivilDate date) {
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12) return false;
    static constexpr int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = date.year % 4 == 0 && (date.year % 100 != 0 || date.year % 400 == 0);
    const int last = month_days[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
    return date.day >= 1 && date.day <= last;
}

SerialDate serial_from_civil(CivilDate date) {
    return SerialDate(days_from_civil(date.year, date.month, date.day) - epoch);
}

CivilDate civil_from_serial(SerialDate serial) {
    const std::int64_t z = std::int64_t(serial) + epoch;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = int(doy - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    return {int(yoe + era * 400 + (month <= 2)), month, day};
}

SerialDate today() {
    if (fixed_today) return *fixed_today;
    const QDate now = QDate::currentDate();
    return serial_from_civil({now.year(), now.month(), now.day()});
}

void set_today_for_testing(std::optional<SerialDate> day) {
    fixed_today = day;
}
