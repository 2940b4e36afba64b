/**
 * Engraves a lantern with *plain* or **bold** letters, _italics_ and __strong__ ones,
 * and `code` such as `lantern_engrave(id, "x")`.
 */
void lantern_engrave(int id, const char *text);
