/** Lantern states. */
enum lantern_state {
    LANTERN_COLD,  /**< not lit */
    LANTERN_LIT,   /**< burning */
    /** Burning low, oil nearly gone. */
    LANTERN_LOW
};
