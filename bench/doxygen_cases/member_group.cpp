/** A lantern shop. */
class Shop {
  public:
    /** @name Selling
     *  What a customer buys. */
    ///@{
    /** Sells a lantern. */
    void sell(int id);
    ///@}
};
