/** Lanterns for ships. */
namespace ship {
/** Hangs a lantern at the mast. */
void hang_at_mast(int id);
/** A lantern for the bow. */
class BowLantern {};
}  // namespace ship
