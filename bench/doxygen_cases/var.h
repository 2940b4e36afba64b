/**
 * @var beacon_range
 * The range of a beacon in metres.
 */
extern int beacon_range;
/** @def BEACON_MAX
 *  The most beacons a tower holds. */
#define BEACON_MAX 8
