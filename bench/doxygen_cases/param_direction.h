/**
 * Reads the oil level.
 * @param[in] id the lantern
 * @param[out] level where the level is stored
 * @param[in,out] spare the spare oil, reduced by what was used
 */
void lantern_oil(int id, int *level, int *spare);
