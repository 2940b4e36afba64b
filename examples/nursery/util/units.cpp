// The conversions between the nursery's units.
#include "nursery/util/units.h"

#include <cmath>

namespace nursery {

int CansFor(Litres litres)
{
    if (litres <= 0.0) {
        return 0;
    }
    return static_cast<int>(std::ceil(litres / NURSERY_LITRES_PER_CAN));
}

int WeekOf(DayNumber day)
{
    if (day < 0) {
        return 0;
    }
    return day / NURSERY_DAYS_PER_WEEK + 1;
}

}  // namespace nursery
