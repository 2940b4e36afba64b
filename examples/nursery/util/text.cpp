// Texts for people: how volumes and days are written.
#include "nursery/util/text.h"

#include <charconv>

namespace nursery {
namespace {

/**-------------------------------------------------------------------------------------------------
Description:
    Writes a number with one decimal, rounded to the nearest tenth.
    The decimal sign is a point in every locale.
Return:
    The digits, with a minus sign for a negative number.
Group: Text
Doc type: Internal
See also:
    FormatLitres
-------------------------------------------------------------------------------------------------e*/
std::string OneDecimal(double value)
{
    // Room for the largest double written out in full: 309 digits, sign, point and decimal.
    char digits[320];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
    return std::string(digits, written.ptr);
}

}  // namespace

std::string FormatLitres(Litres litres)
{
    return OneDecimal(litres > 0.0 ? litres : 0.0) + " l";
}

std::string FormatDay(DayNumber day)
{
    if (day < 0) {
        return "never";
    }
    return "week " + std::to_string(WeekOf(day)) + ", day " +
           std::to_string(day % NURSERY_DAYS_PER_WEEK + 1);
}

}  // namespace nursery
