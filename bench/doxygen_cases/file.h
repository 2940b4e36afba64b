/**
 * @file file.h
 * @brief The lantern registry.
 *
 * Every lantern is registered here once.
 */
/** Registers a lantern. */
int registry_add(int id);
