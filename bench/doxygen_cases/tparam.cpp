/**
 * A row of lanterns.
 * @tparam Light the kind of light each lantern holds
 * @tparam Count how many lanterns stand in the row
 */
template <typename Light, int Count>
class LanternRow {
  public:
    /** The number of lanterns. */
    int size() const;
};
