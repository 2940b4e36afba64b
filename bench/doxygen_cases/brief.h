/**
 * @brief Opens a lantern.
 *
 * Lanterns are opened before they are lit.
 */
int lantern_open(int id);
