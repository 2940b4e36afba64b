/**
 * Lists the lantern sizes.
 *
 * <table>
 * <tr><th>Size</th><th>Code</th></tr>
 * <tr><td>small</td><td>
 * @code
 * lantern_make(1);
 * @endcode
 * </td></tr>
 * </table>
 */
void lantern_sizes(void);
