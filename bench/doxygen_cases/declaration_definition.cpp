/** Measures the soot on the glass. */
int soot_measure(int id);

/** The soot is measured in grams, by weighing the glass. */
int soot_measure(int id) { return id; }
