// Winter pruning: how far each plant is cut back before the frost, and the cut itself. These
// pages were written by the nursery's German colleague and are in German.
#pragma once

#include "nursery/core/bed.h"
#include "nursery/core/plant.h"
#include "nursery/util/units.h"

/**-------------------------------------------------------------------------------------------------
Beschreibung:
    Die kleinste Hoehe in Zentimetern, auf die im Winter geschnitten wird.
    Niedrigere Pflanzen bleiben ungeschnitten.
Bemerkung:
    Eine junge Pflanze braucht alle ihre Knospen, um im Fruehjahr gut auszutreiben.
Gruppe: Pruning
Zugriff: Public
Autor: Jonas Weber
Siehe auch:
    WinterCutHeight
-------------------------------------------------------------------------------------------------e*/
#define NURSERY_MIN_CUT_HEIGHT (30)

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Beschreibung:
    Die Schnitthoehe einer Pflanze im Winter:
    zwei Drittel ihrer Hoehe, mindestens "NURSERY_MIN_CUT_HEIGHT".
Rueckgabe:
    Die Schnitthoehe in Zentimetern. Eine Pflanze, die nicht hoeher ist als die Mindesthoehe,
    behaelt ihre Hoehe.
Beispiel:
    <pre>
    CPlant ahorn("Acer campestre", 120, 2.0, 3);
    WinterCutHeight(ahorn);  // 80
    CPlant linde("Tilia cordata", 36, 3.5, 2);
    WinterCutHeight(linde);  // 30
    </pre>
Gruppe: Pruning
Zugriff: Public
Autor: Jonas Weber
Version: 1.0
Siehe auch:
    PruneForWinter
    CPlant::Height
-------------------------------------------------------------------------------------------------e*/
Centimetres WinterCutHeight(const CPlant& plant  // die Pflanze, die geschnitten wird
);

/**-------------------------------------------------------------------------------------------------
Beschreibung:
    Schneidet alle Pflanzen eines Beets fuer den Winter zurueck:
    jede auf ihre "WinterCutHeight".
Parameter: siehe unten
Rueckgabe:
    Die Zahl der Pflanzen, die tatsaechlich gekuerzt wurden.
Achtung:
    Ein Schnitt laesst sich nicht zuruecknehmen, und jeder Aufruf schneidet erneut. Erst
    aufrufen, wenn die letzten Pflanzen der Saison verkauft sind: Kunden wollen im Herbst keine
    gestutzten Baeume.
Beispiel:
    <pre>
    CBed north("North", 4, 6);
    north.Plant(CPlant("Acer campestre", 120, 2.0, 3), {0, 0});
    PruneForWinter(north);  // 1
    </pre>
Gruppe: Pruning
Zugriff: Public
Autor: Jonas Weber
Version: 1.0
Siehe auch:
    CPlant::CutTo
-------------------------------------------------------------------------------------------------e*/
int PruneForWinter(CBed& bed  // das Beet
);

}  // namespace nursery
