/**
 * Parses a lantern description.
 *
 * The description is written in this form:
 * @code{.ini}
 * [lantern]
 * metal = brass
 * @endcode
 */
int lantern_parse(const char *text);
