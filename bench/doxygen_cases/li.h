/**
 * Repairs a lantern.
 * The parts that may break:
 * @li the glass
 * @li the hinge
 * @arg the wick holder
 */
void lantern_repair(int id);
