/**
 * Computes the burn time:
 * \f[
 *   t = \frac{V}{r}
 * \f]
 * where V is the oil volume.
 */
double lantern_burn_time(double V, double r);
