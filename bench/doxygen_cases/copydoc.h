/**
 * Lights a torch.
 *
 * The torch burns for an hour.
 * @param id the torch
 */
void torch_light(int id);
/** @copydoc torch_light */
void torch_light_again(int id);
