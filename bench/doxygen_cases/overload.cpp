/** A lamp post. */
class LampPost {
  public:
    /** Lights the post at an hour of the day. */
    void light(int hour);
    /** @overload */
    void light(const char *when);
};
