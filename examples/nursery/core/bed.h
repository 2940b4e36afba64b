// A bed of the nursery: a grid of places in rows and columns, each holding at most one plant. The
// bed owns its plants; they leave it only by being lifted.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "nursery/core/plant.h"

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Description:
    A place in a bed: its row and column, both counted from 0.
    Row 0 is at the north edge, column 0 at the west path.
Example:
    <pre>
    BedPosition corner = {0, 0};    // north-west corner
    BedPosition nextToIt = {0, 1};  // one step east
    </pre>
Group: Beds
Doc type: Public
See also:
    CBed::At
-------------------------------------------------------------------------------------------------e*/
typedef struct {
    int row;     // row, from the north edge
    int column;  // column, from the west path
} BedPosition;

/**-------------------------------------------------------------------------------------------------
Content:
    "CBed::CBed" lays out a bed of rows and columns
    "CBed::Plant" sets a plant into a free place
    "CBed::Lift" takes a plant out again, for sale or for another bed
    "CBed::At" finds the plant at a place
    "CBed::Count" counts the plants
    "CBed::Name", "CBed::Rows" and "CBed::Columns" tell the bed's name and size
    "CBed::Contains" tells whether a place lies inside the bed
Description:
    A bed of the nursery: a grid of places in rows and columns
    with room for one plant in each place.

    The bed owns its plants. A plant comes in with "CBed::Plant" and leaves with "CBed::Lift";
    in between, "CBed::At" lends it out to be watered or cut back. Places are given as a
    "BedPosition", and a place outside the bed is refused with an exception rather than guessed.
Example:
    <pre>
    CBed north("North", 4, 6);
    north.Plant(CPlant("Acer campestre", 40, 2.0, 3), {0, 0});
    north.Count();                     // 1
    north.At({0, 0})->Species();       // Acer campestre
    CPlant sold = north.Lift({0, 0});  // the place is free again
    </pre>
Group: Beds
Doc type: Public
Author: Marta Lindqvist
Version: 1.1
History:
    1.0  first version
    1.1  plants can be lifted out of a bed
See also:
    CPlant
    WaterBed
-------------------------------------------------------------------------------------------------e*/
class CBed {

  public:
    CBed(std::string name, int rows, int columns);

    const std::string& Name() const;
    int Rows() const;
    int Columns() const;
    int Count() const;
    bool Contains(BedPosition where) const;

    void Plant(CPlant plant, BedPosition where);
    CPlant Lift(BedPosition where);
    CPlant* At(BedPosition where);

  private:
    std::size_t SlotOf(BedPosition where) const;

    std::string m_name;
    int m_rows;
    int m_columns;
    // Invariant: holds m_rows * m_columns places, row by row from the north edge.
    std::vector<std::optional<CPlant>> m_places;
};

}  // namespace nursery
