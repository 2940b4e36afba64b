/** The functions a lantern driver gives. */
typedef struct {
    /** Opens the driver. */
    int (*open)(const char *name);
    /** Closes it. */
    void (*close)(int handle);
} lantern_driver;
