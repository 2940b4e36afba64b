/**
 * Dims a lantern.
 *
 * @note Dimming never puts the flame out completely.
 *
 * A dimmed lantern uses less oil.
 */
void lantern_dim(int id);
