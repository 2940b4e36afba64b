/**
 * Carries a lantern.
 * @warning A lantern carried while lit must be held upright.
 * @attention Hot glass burns the hand.
 */
void lantern_carry(int id);
