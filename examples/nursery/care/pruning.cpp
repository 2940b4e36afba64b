// Winter pruning: the cut height of a plant and the cut of a whole bed.
#include "nursery/care/pruning.h"

#include <algorithm>

namespace nursery {
namespace {

/**-------------------------------------------------------------------------------------------------
Beschreibung:
    Zwei Drittel einer Hoehe, auf ganze Zentimeter abgerundet.
    Gerechnet wird ohne Ueberlauf, auch fuer sehr grosse Werte.
Rueckgabe:
    Zwei Drittel der Hoehe; 0 fuer eine negative Hoehe.
Gruppe: Pruning
Zugriff: Internal
Siehe auch:
    WinterCutHeight
-------------------------------------------------------------------------------------------------e*/
Centimetres TwoThirds(Centimetres height)
{
    if (height <= 0) {
        return 0;
    }
    return height / 3 * 2 + height % 3 * 2 / 3;
}

}  // namespace

Centimetres WinterCutHeight(const CPlant& plant)
{
    const Centimetres height = plant.Height();
    if (height <= NURSERY_MIN_CUT_HEIGHT) {
        return height;
    }
    return std::max(TwoThirds(height), NURSERY_MIN_CUT_HEIGHT);
}

int PruneForWinter(CBed& bed)
{
    int pruned = 0;
    for (int row = 0; row != bed.Rows(); ++row) {
        for (int column = 0; column != bed.Columns(); ++column) {
            CPlant* plant = bed.At({row, column});
            if (plant != nullptr && plant->CutTo(WinterCutHeight(*plant)) > 0) {
                ++pruned;
            }
        }
    }
    return pruned;
}

}  // namespace nursery
