// The library as a whole: its version, and the introduction that opens its documentation.
#pragma once

/**-------------------------------------------------------------------------------------------------
Description:
    The version of these headers: 100 times the major version plus the minor version.
    Version 1.2 is 102.
Remarks:
    A program compares it with "NurseryVersion" to find out whether it was built against the
    headers of the library it runs with.
Group: About
Doc type: Public
-------------------------------------------------------------------------------------------------e*/
#define NURSERY_VERSION (102)

// Introduction
/**-------------------------------------------------------------------------------------------------
Description:
    Nursery is a small C++20 library for a tree nursery:
    its plants and beds, the watering plan and the winter pruning.

    Start with "CBed", a grid of places in rows and columns that holds the plants, and "CPlant",
    one plant that knows its species, its height and when it is thirsty. "CWateringSchedule"
    says which bed gets its watering round on which day, "WaterBed" does the watering, and
    "PruneForWinter" cuts a bed back before the frost; the pruning was written by a German
    colleague, and its pages are in German. Volumes, heights and days have units of their own:
    "Litres", "Centimetres" and "DayNumber".

    The index lists every documented item under its group: About, Beds, Plants, Pruning, Text,
    Units and Watering. Each page shows the declaration it describes, and its parameter table
    is taken from the comments behind the parameters in the code, so the code and its
    documentation are read from the same lines and cannot drift apart. Private, protected and
    internal members are documented as well; their pages appear when private items are asked for.
Example:
    A week and a day of watering one bed:
    <pre>
    #include "nursery/care/schedule.h"
    #include "nursery/util/text.h"

    using namespace nursery;

    CBed north("North", 4, 6);
    north.Plant(CPlant("Acer campestre", 40, 2.0, 3), {0, 0});
    north.Plant(CPlant("Tilia cordata", 55, 3.5, 2), {0, 1});

    CWateringSchedule schedule;
    schedule.Add(north.Name(), {6, 2, 0});  // at six, every other day, from day 0
    for (DayNumber day = 0; day != 8; ++day) {
        if (schedule.IsDue(north.Name(), day)) {
            Litres given = WaterBed(north, day);
            std::printf("%s: %s\n", FormatDay(day).c_str(), FormatLitres(given).c_str());
        }
    }
    </pre>
Group: About
Doc type: Public
Author: Marta Lindqvist
Copyright: (c) 2024 the Nursery authors. Free to copy, change and hand on.
Version: 1.2
See also:
    CBed
    CPlant
    CWateringSchedule
-------------------------------------------------------------------------------------------------e*/

namespace nursery {

/**-------------------------------------------------------------------------------------------------
Description:
    The version of the library that the program runs with.
    Counted like "NURSERY_VERSION": 102 is version 1.2.
Return:
    The version number, 102 for version 1.2.
Remarks:
    The function has C linkage, so that the irrigation controller's C firmware can ask for it too.
Example:
    <pre>
    if (NurseryVersion() != NURSERY_VERSION) {
        std::fprintf(stderr, "built against other Nursery headers\n");
    }
    </pre>
Group: About
Doc type: Export
-------------------------------------------------------------------------------------------------e*/
extern "C" int NurseryVersion();

}  // namespace nursery
