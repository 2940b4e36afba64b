/// Waters every bed of the garden.
void WaterBeds(int litres);
