/**
 * Swaps the wick.
 * @pre The lantern is cold.
 * @post The lantern holds a new wick of full length.
 */
void lantern_swap_wick(int id);
