/** Lights a flare. */
void flare_light(void);
/// @cond INTERNAL
/** A flare's fuse, not for users. */
void flare_fuse(void);
/// @endcond
/** Puts a flare out. */
void flare_snuff(void);
