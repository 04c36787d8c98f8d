// Jet's Date/Time arithmetic: a double counting days from 1899-12-30, the
// fraction being the time of day. Before that day the whole part is negative
// and the fraction still counts forward from midnight (-1.25 is 1899-12-29
// 06:00), which is how Jet and VBA store such dates.
#pragma once

#include <optional>
#include <string_view>

namespace jet::sql {

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  int weekday = 7;  // 1 = Sunday ... 7 = Saturday
  int dayOfYear = 1;
};

// Whole days from a civil date; months and days out of range roll over as in
// DateSerial (month 13 is January of the next year, day 0 the last of the
// previous month).
double dateSerial(long year, long month, long day);
double timeSerial(long hour, long minute, long second);
// Combines a day number and a time fraction in Jet's encoding.
double makeDate(double days, double timeFraction);
DateParts splitDate(double serial);
double datePart(double serial);  // the day, time dropped
double timePart(double serial);  // the time of day as a fraction
bool validDate(double serial);   // years 100 to 9999

enum class DateOrder { MonthFirst, DayFirst };
// Parses "2001-02-03", "2001/2/3", "3/14/2013 09:05:07", "14-Mar-2013",
// "9:05 PM" and the like. Four-digit first fields are years; otherwise the
// order decides between m/d/y and d/m/y.
std::optional<double> parseDateText(std::string_view text, DateOrder order);

const char* monthName(int month, bool abbreviated);
const char* weekdayName(int weekday, bool abbreviated);

}  // namespace jet::sql
