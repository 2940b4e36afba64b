/**
 * @mainpage The Lantern Library
 *
 * The library lights, carries and stores lanterns.
 */
/** Starts the library. */
void library_start(void);
