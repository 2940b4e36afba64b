/**
 * Adds a rule to the lantern schedule.
 *
 * Example usage:
 *
 *     error = lantern_schedule(id, "dusk\ndawn\n");
 *
 * This adds two rules.
 */
int lantern_schedule(int id, const char *rules);
