/**
 * A wick of a certain length.
 * @invariant The length is never negative.
 */
class Wick {
  public:
    /** The length in millimetres. */
    int length() const;
};
