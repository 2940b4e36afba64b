/** A lighthouse. */
class Lighthouse {};
/**
 * Compares two lighthouses.
 * @relates Lighthouse
 */
bool operator==(const Lighthouse& a, const Lighthouse& b);
