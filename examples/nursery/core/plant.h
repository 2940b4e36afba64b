// One plant of the nursery: its species, its height and its watering rhythm. Beds hold plants by
// value; a plant knows nothing of the bed it stands in.
#pragma once

#include <string>

#include "nursery/util/units.h"

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Content:
    "CPlant::CPlant" pots a young plant of a species
    "CPlant::Species" and "CPlant::Height" tell what it is and how tall it stands
    "CPlant::NeedsWater" tells whether it is thirsty on a given day
    "CPlant::Water" waters it and says how much water it took
    "CPlant::CutTo" cuts it back
Description:
    One plant of the nursery: its species, its height, and the rhythm
    in which it wants its water.

    A plant remembers the day it was last watered. On every later day it can tell whether it is
    thirsty again, so a watering round only needs to ask each plant in turn, as "WaterBed" does.
    It never takes more water than its ration, however often it is asked.
Example:
    <pre>
    CPlant maple("Acer campestre", 40, 2.0, 3);  // 2 litres every third day
    maple.NeedsWater(0);  // true: it was never watered
    maple.Water(0);       // 2.0
    maple.NeedsWater(2);  // false
    maple.NeedsWater(3);  // true
    </pre>
Group: Plants
Doc type: Public
Author: Marta Lindqvist
Version: 1.2
History:
    1.0  first version: species and height
    1.1  watering rhythm
    1.2  cutting back, for the winter pruning
See also:
    CBed
-------------------------------------------------------------------------------------------------e*/
class CPlant {

  public:
    CPlant(std::string species, Centimetres height, Litres litresPerWatering,
           int daysBetweenWaterings);

    const std::string& Species() const;
    Centimetres Height() const;

    bool NeedsWater(DayNumber today) const;
    Litres Water(DayNumber today) noexcept;
    Centimetres CutTo(Centimetres height);

  private:
    int DaysDry(DayNumber today) const;

    std::string m_species;
    Centimetres m_height;
    Litres m_litresPerWatering;
    int m_daysBetweenWaterings;
    DayNumber m_lastWatered = -1;
};

}  // namespace nursery
