/**
 * Tells about flames.
 *
 * @anchor flame_colours
 * Flames burn yellow or blue.
 */
void flame_tell(void);
/**
 * Colours a flame; see @ref flame_colours "the colours".
 */
void flame_colour(int colour);
