/**
 * Cleans a lantern.
 *
 * What is cleaned:
 * - the glass
 * - the reflector
 * * the brass handle
 * + the oil tank
 */
void lantern_clean(int id);
