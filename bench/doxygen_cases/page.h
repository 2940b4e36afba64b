/**
 * @page lantern_faq Questions about lanterns
 *
 * Why does the glass fog? Because the wick is too long.
 */
/** Answers a question. */
void faq_answer(int question);
