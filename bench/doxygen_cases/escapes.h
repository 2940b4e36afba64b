/**
 * Writes \@ signs, \\ backslashes, \< and \> brackets and \& ampersands,
 * and keeps a < b and `x && y` as written.
 */
void lantern_escape(void);
