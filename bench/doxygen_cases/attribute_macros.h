/** A tank of a lantern. */
struct LANTERN_PACKED lantern_tank {
    int volume; /**< in millilitres */
    int level;  /**< how full, in percent */
};
/** Fills a tank. */
LANTERN_EXPORT int lantern_tank_fill(struct lantern_tank *tank);
