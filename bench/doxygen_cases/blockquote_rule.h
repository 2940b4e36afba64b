/**
 * Quotes the guild's rule.
 *
 * > A lantern is never left alone.
 *
 * The rule is old.
 *
 * ---
 *
 * It was written down late.
 */
void guild_quote(void);
