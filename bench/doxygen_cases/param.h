/**
 * Lights a lantern.
 * @param id the lantern to light
 * @param flame how bright the flame burns, from 1 to 9
 * @return zero once the flame burns
 */
int lantern_light(int id, int flame);
