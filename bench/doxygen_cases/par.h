/**
 * Stores a lantern for the winter.
 *
 * @par Cleaning
 * Clean the glass with a dry cloth before storing.
 *
 * @par Oil
 * Empty the tank completely.
 */
void lantern_store(int id);
