// DOS date-time fields: seconds / 2 in bits 0-4, minutes 5-10, hours 11-15, day 16-20,
// month 21-24 and years since 1980 in 25-31.
#include "update/unzip/DosDateTime.h"

namespace pelorin {

namespace {

struct Fields {
    std::uint32_t twoSeconds, minutes, hours, day, month, year;
};

Fields Split(std::uint32_t v) {
    return {v & 0x1F, (v >> 5) & 0x3F, (v >> 11) & 0x1F, (v >> 16) & 0x1F, (v >> 21) & 0x0F, (v >> 25) & 0x7F};
}

std::uint32_t Join(const Fields& f) {
    return f.twoSeconds | (f.minutes << 5) | (f.hours << 11) | (f.day << 16) | (f.month << 21) | (f.year << 25);
}

bool IsLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(std::int64_t year, std::uint32_t month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::uint32_t RepairDosDateTime(std::uint32_t dateTime) {
    Fields f = Split(dateTime);
    if (f.hours <= 24 && f.minutes < 60 && f.twoSeconds < 30 && f.day != 0 && f.month >= 1 && f.month <= 12 &&
        f.year < 120) {
        return dateTime;
    }
    if (f.hours > 24) f.hours = 24;
    if (f.minutes >= 60) f.minutes = 59;
    if (f.twoSeconds >= 30) f.twoSeconds = 29;
    if (f.day == 0) f.day = 1;
    if (f.month == 0) f.month = 1;
    if (f.month > 12) f.month = 12;
    if (f.year >= 120) f.year = 119;
    return Join(f);
}

std::int64_t DosDateTimeOrder(std::uint32_t dateTime) {
    const Fields f = Split(dateTime);
    const std::int64_t year = 1980 + static_cast<std::int64_t>(f.year);
    if (f.month < 1 || f.month > 12 || f.day < 1 || static_cast<int>(f.day) > DaysInMonth(year, f.month) ||
        f.hours > 23 || f.minutes > 59 || f.twoSeconds > 29) {
        return 0;
    }
    std::int64_t days = 0;
    for (std::int64_t y = 1980; y < year; ++y) days += IsLeap(y) ? 366 : 365;
    for (std::uint32_t m = 1; m < f.month; ++m) days += DaysInMonth(year, m);
    days += f.day - 1;
    return days * 86400 + f.hours * 3600 + f.minutes * 60 + f.twoSeconds * 2 + 1;
}

}  // namespace pelorin
