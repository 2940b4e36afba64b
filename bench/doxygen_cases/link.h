/** Weighs a lantern. */
int lantern_weigh(int id);
/**
 * Packs a lantern; it must be @link lantern_weigh weighed first @endlink.
 */
void lantern_pack(int id);
