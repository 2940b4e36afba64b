/**
 * Shows the lantern's shape.
 * \image html lantern_shape.png "The shape of a lantern"
 * ![A side view](lantern_side.png)
 */
void lantern_shape(void);
