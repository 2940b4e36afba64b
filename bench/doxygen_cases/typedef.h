/** A lantern's number. */
typedef unsigned int lantern_id;
/** Called for every lantern. */
typedef void (*lantern_visitor)(lantern_id id, void *data);
/** A lantern kept by number. */
typedef struct {
    lantern_id id; /**< its number */
} lantern_slot;
