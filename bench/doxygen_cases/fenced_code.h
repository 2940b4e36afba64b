/**
 * Copies a lantern's settings.
 *
 * For example:
 * ```c
 * lantern_copy(from, to);
 * ```
 *
 * Or with tildes:
 * ~~~
 * lantern_copy(to, from);
 * ~~~
 */
void lantern_copy(int from, int to);
