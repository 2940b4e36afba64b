// The watering plan: which bed gets its round on which day, and the round itself. The plan knows
// beds by name only, so it can be drawn up before the beds are laid out.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "nursery/core/bed.h"
#include "nursery/util/units.h"

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Description:
    When a bed is watered: the hour of its round, the days from one round
    to the next, and the day of the first round.
Example:
    <pre>
    WateringSlot early = {6, 2, 0};    // at six, every other day, from day 0
    WateringSlot weekly = {18, 7, 3};  // at six in the evening, weekly from day 3
    </pre>
Group: Watering
Doc type: Public
See also:
    CWateringSchedule::Add
-------------------------------------------------------------------------------------------------e*/
struct WateringSlot {
    int hour;        // hour of the round, 0 to 23
    int everyDays;   // days from one round to the next
    DayNumber from;  // day of the first round
};

/**-------------------------------------------------------------------------------------------------
Content:
    "CWateringSchedule::Add" plans the rounds of a bed
    "CWateringSchedule::IsDue" tells whether a bed gets a round on a day
    "CWateringSchedule::NextRound" finds a bed's next round
Description:
    The nursery's watering plan: which bed is watered when.
    A bed may have several rounds, each a "WateringSlot".

    The plan knows beds by their names, so it can be drawn up before the season's beds are
    laid out. On the day itself "WaterBed" does the work, plant by plant.

    The class is meant to be derived from. A derived plan can skip the rounds of whole days,
    say the days on which the rain gauge has already done the watering, by overriding the one
    protected member; the destructor is virtual for that reason.
Example:
    <pre>
    CWateringSchedule schedule;
    schedule.Add("North", {6, 2, 0});   // every other day, from day 0
    schedule.Add("South", {18, 3, 1});  // every third day, from day 1
    schedule.IsDue("North", 4);         // true
    schedule.NextRound("South", 4);     // 7
    </pre>
Group: Watering
Doc type: Public
Author: Ada Okafor
Version: 1.0
History:
    1.0  first version, replacing the chalk board in the potting shed
See also:
    CBed::Name
-------------------------------------------------------------------------------------------------e*/
class CWateringSchedule {

  public:
    virtual ~CWateringSchedule();

    void Add(std::string bedName, WateringSlot slot);
    bool IsDue(const std::string& bedName, DayNumber day) const;
    DayNumber NextRound(const std::string& bedName, DayNumber after) const;

  protected:
    virtual bool SkipDay(DayNumber day) const;

  private:
    std::vector<std::pair<std::string, WateringSlot>> m_rounds;
};

/**-------------------------------------------------------------------------------------------------
Description:
    Waters the thirsty plants of a bed, row by row from the north edge.
    Plants that are not thirsty are passed over.
Parameter: see below
Return:
    The litres given to the bed, 0 when no plant was thirsty.
Example:
    <pre>
    if (schedule.IsDue(north.Name(), today)) {
        Litres given = WaterBed(north, today);
        std::printf("%d cans for %s\n", CansFor(given), north.Name().c_str());
    }
    </pre>
Group: Watering
Doc type: Public
See also:
    CPlant::Water
    CWateringSchedule::IsDue
-------------------------------------------------------------------------------------------------e*/
Litres WaterBed(CBed& bed,       // the bed to water
                DayNumber today  // the day of the round
);

}  // namespace nursery
