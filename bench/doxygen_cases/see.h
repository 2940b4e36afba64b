/** Lights a candle. */
void candle_light(void);
/** Puts a candle out. */
void candle_snuff(void);
/**
 * Trims a candle.
 * @see candle_light, candle_snuff
 * @sa candle_light()
 */
void candle_trim(void);
