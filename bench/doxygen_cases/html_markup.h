/**
 * Labels a lantern in <b>bold</b> and <i>italic</i> letters,<br>
 * on two lines, with &copy; marks.
 */
void lantern_label_html(int id);
