/**
 * Sorts the lanterns.
 *
 * - by metal
 *   1. brass first
 *   2. iron next
 * - by size
 *   - small
 *   - large
 */
void lantern_sort(void);
