// A bed of the nursery: its grid of places and the plants that come into it and leave it.
#include "nursery/core/bed.h"

#include <stdexcept>
#include <utility>

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Description:
    Lays out an empty bed with a name and a size.
    The name is what the watering plan knows the bed by.
Throws:
    std::invalid_argument when the bed has fewer than one row or one column.
Example:
    <pre>
    CBed north("North", 4, 6);  // 24 places, all free
    </pre>
Group: Beds
Doc type: Public Constructor
See also:
    CWateringSchedule::Add
-------------------------------------------------------------------------------------------------e*/
CBed::CBed(std::string name,  // the bed's name, unique in the nursery
           int rows,          // rows, from north to south
           int columns        // columns, from west to east
           )
    : m_name(std::move(name)), m_rows(rows), m_columns(columns)
{
    if (rows < 1 || columns < 1) {
        throw std::invalid_argument("CBed: a bed needs at least one row and one column");
    }
    m_places.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
}

/**-------------------------------------------------------------------------------------------------
Description:
    The bed's name, as it was laid out.
Group: Beds
Doc type: Public
See also:
    CWateringSchedule::IsDue
-------------------------------------------------------------------------------------------------e*/
const std::string& CBed::Name() const
{
    return m_name;
}

/**-------------------------------------------------------------------------------------------------
Description:
    The number of rows of the bed, at least 1.
Group: Beds
Doc type: Public
See also:
    CBed::Columns
-------------------------------------------------------------------------------------------------e*/
int CBed::Rows() const
{
    return m_rows;
}

/**-------------------------------------------------------------------------------------------------
Description:
    The number of columns of the bed, at least 1.
Group: Beds
Doc type: Public
See also:
    CBed::Rows
-------------------------------------------------------------------------------------------------e*/
int CBed::Columns() const
{
    return m_columns;
}

/**-------------------------------------------------------------------------------------------------
Description:
    The number of plants in the bed.
Return:
    A number from 0 to rows times columns.
Group: Beds
Doc type: Public
-------------------------------------------------------------------------------------------------e*/
int CBed::Count() const
{
    int count = 0;
    for (const std::optional<CPlant>& place : m_places) {
        if (place.has_value()) {
            ++count;
        }
    }
    return count;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Tells whether a place lies inside the bed.
Return:
    true when both its row and its column are within the bed's size.
Group: Beds
Doc type: Public
See also:
    CBed::Rows
    CBed::Columns
-------------------------------------------------------------------------------------------------e*/
bool CBed::Contains(BedPosition where  // the place to test
) const
{
    return where.row >= 0 && where.row < m_rows && where.column >= 0 && where.column < m_columns;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Sets a plant into a free place of the bed. The bed keeps the plant
    until it is lifted out again.
Parameter:
    plant: the plant; the bed takes it over
    where: the place, which must be free
Throws:
    std::out_of_range when the place lies outside the bed;
    std::logic_error when another plant already stands there.
Example:
    <pre>
    north.Plant(CPlant("Tilia cordata", 55, 3.5, 2), {2, 3});
    </pre>
Group: Beds
Doc type: Public
See also:
    CBed::Lift
    CPlant::CPlant
-------------------------------------------------------------------------------------------------e*/
void CBed::Plant(CPlant plant, BedPosition where)
{
    std::optional<CPlant>& place = m_places[SlotOf(where)];
    if (place.has_value()) {
        throw std::logic_error("CBed::Plant: the place is taken");
    }
    place = std::move(plant);
}

/**-------------------------------------------------------------------------------------------------
Description:
    Takes a plant out of the bed, to be sold or set into another bed.
    The place is free afterwards.
Parameter:
    where: the place of the plant
Return:
    The plant, with its height and its last watering.
Throws:
    std::out_of_range when the place lies outside the bed;
    std::logic_error when no plant stands there.
Group: Beds
Doc type: Public
See also:
    CBed::Plant
-------------------------------------------------------------------------------------------------e*/
CPlant CBed::Lift(BedPosition where)
{
    std::optional<CPlant>& place = m_places[SlotOf(where)];
    if (!place.has_value()) {
        throw std::logic_error("CBed::Lift: the place is free");
    }
    CPlant plant = std::move(*place);
    place.reset();
    return plant;
}

/**-------------------------------------------------------------------------------------------------
Description:
    Finds the plant at a place, to look at it, water it or cut it back.
    A place outside the bed simply holds none.
Parameter:
    where: the place to look at
Return:
    The plant, or nullptr when the place is free or lies outside the bed.
Attention:
    The plant still belongs to the bed. The pointer is valid until the next
    "CBed::Plant" or "CBed::Lift" on this bed; do not keep it beyond that.
Example:
    <pre>
    for (int row = 0; row != bed.Rows(); ++row) {
        for (int column = 0; column != bed.Columns(); ++column) {
            if (CPlant* plant = bed.At({row, column})) {
                plant->CutTo(80);
            }
        }
    }
    </pre>
Group: Beds
Doc type: Public
See also:
    BedPosition
-------------------------------------------------------------------------------------------------e*/
CPlant* CBed::At(BedPosition where)
{
    if (!Contains(where)) {
        return nullptr;
    }
    std::optional<CPlant>& place = m_places[SlotOf(where)];
    return place.has_value() ? &*place : nullptr;
}

/**-------------------------------------------------------------------------------------------------
Description:
    The index of a place in the row-by-row list of places.
Parameter:
    where: the place
Return:
    row times columns plus column.
Throws:
    std::out_of_range when the place lies outside the bed, as "CBed::Contains" tells.
Group: Beds
Doc type: Private
See also:
    BedPosition
-------------------------------------------------------------------------------------------------e*/
std::size_t CBed::SlotOf(BedPosition where) const
{
    if (!Contains(where)) {
        throw std::out_of_range("CBed: the place lies outside the bed");
    }
    return static_cast<std::size_t>(where.row) * static_cast<std::size_t>(m_columns) +
           static_cast<std::size_t>(where.column);
}

}  // namespace nursery
