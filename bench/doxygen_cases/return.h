/**
 * Counts the lit lanterns.
 * @returns the number of lanterns that burn right now
 */
int lantern_count(void);
