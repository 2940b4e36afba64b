/** @defgroup oil Oil */
/** @addtogroup oil
 *  @{ */
/** Pours oil. */
void oil_pour(int amount);
/** @} */
