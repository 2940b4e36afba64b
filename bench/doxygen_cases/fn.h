/**
 * @fn int beacon_signal(int code)
 * @brief Sends a signal with a beacon.
 * @param code the signal
 */
/** Another function. */
void beacon_stop(void);
int beacon_signal(int code);
