/**
 * Describes the lantern guild.
 *
 * @section guild_history History
 * The guild was founded by lamp makers.
 * @subsection guild_rules Rules
 * Members keep their lanterns clean.
 */
void guild_describe(void);
