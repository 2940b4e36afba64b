/**
 * Chooses a wick for a lantern.
 *
 * | Lantern | Wick | Hours |
 * |:--------|:----:|------:|
 * | small   | thin | 4     |
 * | large   | flat | 9     |
 */
int wick_choose(int lantern);
