// Texts for people: volumes and days written the way the nursery's staff say them, for labels,
// watering lists and the daily report.
#pragma once

#include <string>

#include "nursery/util/units.h"

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Description:
    A volume of water as a short text: the litres with one decimal, then the unit.
Return:
    A text such as 12.3 l. A volume below 0.05 litres, a negative one included, gives 0.0 l.
Example:
    <pre>
    FormatLitres(12.34);  // 12.3 l
    FormatLitres(40.0);   // 40.0 l
    </pre>
Group: Text
Doc type: Public Helper
See also:
    Litres
-------------------------------------------------------------------------------------------------e*/
std::string FormatLitres(Litres litres  // the volume to write
);

/**-------------------------------------------------------------------------------------------------
Description:
    A day of the season as the staff say it: the week, then the day within that week.
Return:
    A text such as week 2, day 3; for a negative day the word never.
Example:
    <pre>
    FormatDay(0);   // week 1, day 1
    FormatDay(9);   // week 2, day 3
    FormatDay(-1);  // never
    </pre>
Group: Text
Doc type: Public Helper
See also:
    DayNumber
    WeekOf
-------------------------------------------------------------------------------------------------e*/
std::string FormatDay(DayNumber day  // the day to write
);

}  // namespace nursery
