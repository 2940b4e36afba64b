/**
 * Explains lantern care.
 *
 * # Daily care
 * Wipe the glass.
 *
 * Weekly care
 * -----------
 * Trim the wick.
 */
void lantern_care(void);
