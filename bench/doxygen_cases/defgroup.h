/**
 * @defgroup wicks Wicks and their care
 * Everything about wicks.
 * @{
 */
/** Trims a wick. */
void wick_trim(int id);
/** Replaces a wick. */
void wick_replace(int id);
/** @} */
