/** @defgroup glass Glass
 *  The glass of a lantern. */
/**
 * Cleans the glass.
 * @ingroup glass
 */
void glass_clean(int id);
