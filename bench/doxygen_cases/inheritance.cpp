/** A light source. */
class Light {
  public:
    /** Turns it on. */
    void on();
};
/** A candle, which is a light. */
class Candle : public Light {
  public:
    /** Its wax left. */
    int wax() const;
};
