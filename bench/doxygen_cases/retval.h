/**
 * Refills a lantern.
 * @param id the lantern
 * @retval 0 the lantern is full
 * @retval -1 the lantern was not found
 * @retval -2 no oil is left
 */
int lantern_refill(int id);
