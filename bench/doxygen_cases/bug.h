/**
 * Reports the flame colour.
 * @bug Blue flames are reported as white.
 */
int lantern_colour(int id);
