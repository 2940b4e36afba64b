/**
 * Lights a lantern in the dark.
 *
 * Steps:
 * 1. open the door
 * 2. strike a match
 * 3. close the door
 */
void lantern_light_dark(int id);
