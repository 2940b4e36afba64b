/**
 * Closes a lantern.
 * @details A closed lantern keeps its wick; closing it twice does nothing.
 */
void lantern_close(int id);
