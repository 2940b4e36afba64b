/** A type that can be lit. */
template <typename T>
concept Lightable = requires(T t) { t.light(); };
/** Lights anything lightable. */
template <Lightable T>
void light_it(T& thing);
