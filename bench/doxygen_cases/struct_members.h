/** A lantern. */
struct lantern {
    int id;          /**< its number */
    int oil;         /**< the oil left, in millilitres */
    /** Called when the flame goes out. */
    void (*on_out)(struct lantern *self);
};
