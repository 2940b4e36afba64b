/**
 * Puts a torch out.
 *
 * Water is never used.
 */
void torch_snuff(int id);
/**
 * @copybrief torch_snuff
 *
 * Sand is used instead.
 */
void torch_bury(int id);
/** @copydetails torch_snuff */
void torch_douse(int id);
