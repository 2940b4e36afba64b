// The watering plan and the watering round.
#include "nursery/care/schedule.h"

#include <limits>
#include <stdexcept>
#include <utility>

namespace nursery {
namespace {

// How far ahead NextRound looks: one season.
constexpr int kDaysAhead = 365;

}  // namespace

/**-------------------------------------------------------------------------------------------------
Description:
    Ends the plan.
    It is virtual, so a derived plan deleted through this class is destroyed completely.
Group: Watering
Doc type: Public Destructor
See also:
    CWateringSchedule
-------------------------------------------------------------------------------------------------e*/
CWateringSchedule::~CWateringSchedule() = default;

/**-------------------------------------------------------------------------------------------------
Description:
    Plans the watering rounds of one bed.
    A bed may have several slots, for example an early and a late round.
Parameter:
    bedName: the name of the bed, as "CBed::Name" gives it
    slot: when the rounds take place
Throws:
    std::invalid_argument when the hour is not between 0 and 23, the days between two rounds
    are fewer than one, or the first round lies before day 0.
Example:
    <pre>
    schedule.Add(north.Name(), {6, 2, 0});
    schedule.Add(north.Name(), {18, 7, 5});  // and a weekly evening round
    </pre>
Group: Watering
Doc type: Public
See also:
    WateringSlot
-------------------------------------------------------------------------------------------------e*/
void CWateringSchedule::Add(std::string bedName, WateringSlot slot)
{
    if (slot.hour < 0 || slot.hour > 23 || slot.everyDays < 1 || slot.from < 0) {
        throw std::invalid_argument("CWateringSchedule::Add: slot out of range");
    }
    m_rounds.emplace_back(std::move(bedName), slot);
}

/**-------------------------------------------------------------------------------------------------
Description:
    Tells whether a bed gets a watering round on a day.
    A bed that is not in the plan never does.
Return:
    true when one of the bed's slots falls on the day and the day is not skipped.
Group: Watering
Doc type: Public
See also:
    CWateringSchedule::NextRound
    WaterBed
-------------------------------------------------------------------------------------------------e*/
bool CWateringSchedule::IsDue(const std::string& bedName,  // the bed, by name
                              DayNumber day                // the day to ask about
) const
{
    if (SkipDay(day)) {
        return false;
    }
    for (const auto& [name, slot] : m_rounds) {
        if (name == bedName && day >= slot.from && (day - slot.from) % slot.everyDays == 0) {
            return true;
        }
    }
    return false;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Finds the next day on which a bed gets a watering round.
    The search looks one season, 365 days, ahead.
Return:
    The first day after the given one on which the bed is due, or -1 when there is none within
    the season.
Example:
    <pre>
    schedule.Add("North", {6, 3, 0});
    schedule.NextRound("North", 0);  // 3
    schedule.NextRound("West", 0);   // -1: the plan has no bed of that name
    </pre>
Group: Watering
Doc type: Public
See also:
    CWateringSchedule::IsDue
-------------------------------------------------------------------------------------------------e*/
DayNumber CWateringSchedule::NextRound(const std::string& bedName,  // the bed, by name
                                       DayNumber after              // the day to search from
) const
{
    for (int ahead = 1; ahead <= kDaysAhead; ++ahead) {
        if (after > std::numeric_limits<DayNumber>::max() - ahead) {
            break;
        }
        if (IsDue(bedName, after + ahead)) {
            return after + ahead;
        }
    }
    return -1;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Tells whether all rounds of a day are skipped.
    This plan skips no day.

    A derived plan overrides it, for example to skip the days after heavy rain.
Parameter:
    day: the day in question
Return:
    false here; true in a derived plan for a day without watering.
Example:
    <pre>
    class CRainAwareSchedule : public CWateringSchedule {
      protected:
        bool SkipDay(DayNumber day) const override { return m_gauge.RainFell(day - 1); }
        ...
    };
    </pre>
Group: Watering
Doc type: Protected
See also:
    CWateringSchedule::IsDue
-------------------------------------------------------------------------------------------------e*/
bool CWateringSchedule::SkipDay(DayNumber) const
{
    return false;
}

Litres WaterBed(CBed& bed, DayNumber today)
{
    Litres given = 0.0;
    for (int row = 0; row != bed.Rows(); ++row) {
        for (int column = 0; column != bed.Columns(); ++column) {
            if (CPlant* plant = bed.At({row, column})) {
                given += plant->Water(today);
            }
        }
    }
    return given;
}

}  // namespace nursery
