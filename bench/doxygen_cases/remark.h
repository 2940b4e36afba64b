/**
 * Hangs a lantern on a hook.
 * @remark Hooks hold up to three lanterns.
 * @remarks Crooked hooks swing in the wind.
 */
void lantern_hang(int id, int hook);
