#include <stdexcept>
/**
 * Trims a wick.
 * @param length the new length in millimetres
 * @throws std::invalid_argument when the length is negative
 * @exception std::runtime_error when the wick is burnt out
 */
void trim_wick(int length);
