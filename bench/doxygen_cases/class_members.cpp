/** A storm lantern. */
class StormLantern {
  public:
    /** Builds a lantern with a full tank. */
    StormLantern();
    /** Empties the tank. */
    ~StormLantern();
    /** Raises the wick by `steps`. */
    void raise(int steps);
    int height;  ///< the wick height
  protected:
    /** Counts the hours burnt. */
    int hours() const;
};
