/**
 * Computes the light, \f$ L = k \cdot h^2 \f$ for a flame of height h.
 */
double lantern_light_power(double h);
