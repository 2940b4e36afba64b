/**
 * Prints a lantern's label.
 *
 * The label looks like this:
 * @verbatim
   +--------+
   | BRASS  |
   +--------+
   @endverbatim
 */
void lantern_label(int id);
