/**
 * Builds a lantern.
 *
 * Build one like this:
 * @code
 * int id = lantern_build("brass");
 * if (id < 0)
 *     return id;
 * @endcode
 * and light it afterwards.
 */
int lantern_build(const char *metal);
