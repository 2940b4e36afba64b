// One plant of the nursery: its watering rhythm and its cutting back.
#include "nursery/core/plant.h"

#include <limits>
#include <stdexcept>
#include <utility>

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Description:
    Pots a young plant of a species, with its height and
    its ration of water and the rhythm it wants it in.

    A new plant has never been watered, so it is thirsty on any day.
Throws:
    std::invalid_argument when the height or the ration is negative, or when the days between
    two waterings are fewer than one.
Example:
    <pre>
    CPlant lime("Tilia cordata", 55, 3.5, 2);  // 3.5 litres every other day
    </pre>
Group: Plants
Doc type: Public Constructor
See also:
    CBed::Plant
-------------------------------------------------------------------------------------------------e*/
CPlant::CPlant(std::string species,       // botanical name, genus first
               Centimetres height,        // height when potted
               Litres litresPerWatering,  // ration of one watering
               int daysBetweenWaterings   // 1 for every day, 2 for every other
               )
    : m_species(std::move(species)),
      m_height(height),
      m_litresPerWatering(litresPerWatering),
      m_daysBetweenWaterings(daysBetweenWaterings)
{
    if (height < 0 || litresPerWatering < 0.0 || daysBetweenWaterings < 1) {
        throw std::invalid_argument("CPlant: negative size or ration, or no watering rhythm");
    }
}

/**-------------------------------------------------------------------------------------------------
Description:
    The botanical name of the plant's species, as it was given when the plant was potted.
Group: Plants
Doc type: Public
-------------------------------------------------------------------------------------------------e*/
const std::string& CPlant::Species() const
{
    return m_species;
}

/**-------------------------------------------------------------------------------------------------
Description:
    The plant's height today, in centimetres.
    It only changes when the plant is cut back with "CPlant::CutTo".
Group: Plants
Doc type: Public
See also:
    Centimetres
-------------------------------------------------------------------------------------------------e*/
Centimetres CPlant::Height() const
{
    return m_height;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Tells whether the plant wants water on a day.
    It does when it was never watered or when its rhythm says it is due.
Return:
    true when the plant is thirsty on that day, false otherwise.
Group: Plants
Doc type: Public
See also:
    CPlant::Water
-------------------------------------------------------------------------------------------------e*/
bool CPlant::NeedsWater(DayNumber today  // the day to ask about
) const
{
    return DaysDry(today) >= m_daysBetweenWaterings;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Waters a thirsty plant with its full ration and notes the day.
    A plant that is not thirsty gets nothing.

    Too much water rots the roots, so a plant may be asked as often as the staff like: it only
    drinks when it is due.
Return:
    The litres the plant took: its ration, or 0 when it was not thirsty.
Group: Plants
Doc type: Public
See also:
    CPlant::NeedsWater
    WaterBed
-------------------------------------------------------------------------------------------------e*/
Litres CPlant::Water(DayNumber today  // the day of the watering
                     ) noexcept
{
    if (!NeedsWater(today)) {
        return 0.0;
    }
    m_lastWatered = today;
    return m_litresPerWatering;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Cuts the plant back to a height.
    A plant that is already lower keeps its height: cutting never makes a plant taller.
Parameter:
    height: the height to cut back to, in centimetres
Return:
    The centimetres cut off, 0 when the plant was no taller than the given height.
Throws:
    std::invalid_argument when the height is negative.
Example:
    <pre>
    CPlant lime("Tilia cordata", 55, 3.5, 2);
    lime.CutTo(40);  // 15
    lime.CutTo(60);  // 0, and the plant stays 40 centimetres high
    </pre>
Group: Plants
Doc type: Public
See also:
    WinterCutHeight
-------------------------------------------------------------------------------------------------e*/
Centimetres CPlant::CutTo(Centimetres height)
{
    if (height < 0) {
        throw std::invalid_argument("CPlant::CutTo: negative height");
    }
    if (height >= m_height) {
        return 0;
    }
    const Centimetres cut = m_height - height;
    m_height = height;
    return cut;
}

/**-------------------------------------------------------------------------------------------------
Description:
    The number of whole days since the plant was last watered.
    It is 0 on the day of a watering and on any day before it.
Parameter:
    today: the day to count to
Return:
    The days without water. For a plant that has never been watered, the largest int, so that
    the plant counts as thirsty on any day.
Group: Plants
Doc type: Private
See also:
    CPlant::NeedsWater
-------------------------------------------------------------------------------------------------e*/
int CPlant::DaysDry(DayNumber today) const
{
    if (m_lastWatered < 0) {
        return std::numeric_limits<int>::max();
    }
    if (today < m_lastWatered) {
        return 0;
    }
    return today - m_lastWatered;
}

}  // namespace nursery
