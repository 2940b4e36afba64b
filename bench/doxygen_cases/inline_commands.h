/**
 * Marks a lantern: @c id names it, @p mark is written on it, @b never on the glass,
 * and the ink is @e permanent, @a really @em permanent.
 */
void lantern_mark(int id, const char *mark);
