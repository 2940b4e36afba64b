/**
 * Polishes the brass.
 * @todo Support copper lanterns as well.
 */
void lantern_polish(int id);
