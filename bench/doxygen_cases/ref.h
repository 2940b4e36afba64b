/** A lantern's metal. */
typedef int lantern_metal;
/**
 * Sets the metal; see @ref lantern_metal for the values and @ref lantern_melt "melting".
 */
void lantern_set_metal(lantern_metal metal);
/** Melts a lantern. */
void lantern_melt(int id);
