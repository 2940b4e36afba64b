/**
 * Empties a lantern.
 *
 * -# let it cool
 * -# open the tank
 * -# pour the oil back
 */
void lantern_empty(int id);
