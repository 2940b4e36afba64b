// The units every part of the nursery speaks: water in litres, heights in centimetres and days of
// the season, with the two conversions the staff need most.
#pragma once

/**-------------------------------------------------------------------------------------------------
Description:
    The number of litres one watering can holds.
    Every can of the nursery is the same ten-litre can.
Remarks:
    Change it here when the nursery buys larger cans, and "CansFor" follows.
Group: Units
Doc type: Public
-------------------------------------------------------------------------------------------------e*/
#define NURSERY_LITRES_PER_CAN (10.0)

/**-------------------------------------------------------------------------------------------------
Description:
    The number of days in one week of the season.
Group: Units
Doc type: Public
See also:
    WeekOf
-------------------------------------------------------------------------------------------------e*/
#define NURSERY_DAYS_PER_WEEK (7)

namespace nursery {

// Litres
/**-------------------------------------------------------------------------------------------------
Description:
    A volume of water in litres, as a plain double.
    Water is measured in litres, never in cans.

    A can is a tool, not a unit: "CansFor" tells how many cans a volume takes.
Example:
    <pre>
    Litres evening = 25.0;
    int cans = CansFor(evening);  // 3
    </pre>
Group: Units
Doc type: Public
See also:
    CansFor
    FormatLitres
-------------------------------------------------------------------------------------------------e*/

typedef double Litres;

// Centimetres
/**-------------------------------------------------------------------------------------------------
Description:
    A height in whole centimetres, as a plain int.
    A plant is measured from the soil to the tip of its leading shoot.
Group: Units
Doc type: Public
See also:
    CPlant::Height
-------------------------------------------------------------------------------------------------e*/

typedef int Centimetres;

// DayNumber
/**-------------------------------------------------------------------------------------------------
Description:
    A day of the season, as a plain int.
    Day 0 is the day the nursery opens in spring.

    From there the days are counted on without a break, across weeks and months.
Remarks:
    Where a function says so, a negative day stands for none or never:
    "CWateringSchedule::NextRound" answers -1 when a bed has no round ahead,
    and "FormatDay" writes a negative day as never.
Group: Units
Doc type: Public
See also:
    WeekOf
    FormatDay
-------------------------------------------------------------------------------------------------e*/

typedef int DayNumber;

/**-------------------------------------------------------------------------------------------------
Description:
    The number of watering cans needed to carry a volume of water.
    A can that is only partly filled counts as a whole can.
Return:
    The number of cans; 0 for a volume of 0 litres or less.
Example:
    <pre>
    CansFor(25.0);  // 3: two full cans and one half full
    CansFor(10.0);  // 1
    CansFor(0.0);   // 0
    </pre>
Group: Units
Doc type: Public
See also:
    NURSERY_LITRES_PER_CAN
-------------------------------------------------------------------------------------------------e*/
int CansFor(Litres litres  // the volume of water to carry
);

/**-------------------------------------------------------------------------------------------------
Description:
    The week of the season a day falls in, counted from 1.
    Days 0 to 6 are week 1, days 7 to 13 week 2, and so on.
Return:
    The week, at least 1; 0 for a negative day.
Group: Units
Doc type: Public
See also:
    NURSERY_DAYS_PER_WEEK
    FormatDay
-------------------------------------------------------------------------------------------------e*/
int WeekOf(DayNumber day  // the day of the season
);

}  // namespace nursery
