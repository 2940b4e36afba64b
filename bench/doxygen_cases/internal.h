/**
 * Lights the pilot flame.
 * @internal Only the factory calls this. @endinternal
 * It burns blue.
 */
void pilot_light(void);
