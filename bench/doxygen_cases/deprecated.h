/**
 * Lights all lanterns at once.
 * @deprecated Light each lantern with lantern_light() instead.
 */
void lantern_light_all(void);
