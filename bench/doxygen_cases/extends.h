/** A light. */
struct light { int brightness; /**< how bright */ };
/**
 * A lamp, a light with a shade.
 * @extends light
 */
struct lamp { struct light base; /**< the light */ };
