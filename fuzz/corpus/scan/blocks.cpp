// Drawing
/**--
Group: Canvas
Description: Draws a "Line" on the "Canvas".
  Second line, with <b>markup</b> & more.
Parameter: SEE BELOW
Return: nothing
Doc type: public constructor
Author: Max
See also:
CCanvas::Clear
Line
--e*/
void CCanvas::Draw(int x,   // the column of the first point, counted from the left
                   int y)   // the row
{
}
/**==
Beschreibung: Eine Funktion.
Rückgabe: 0
Example:
<PRE>
  Draw(1, 2);
</pre>
==e*/
typedef struct tagPOINT {
    int x;  // across
    int y;  // down
} POINT;

/**//
Remarks:
  lower case keywords: remarks: note:
//e*/
#define MAX(a, b) ((a) > (b) ? (a) : (b))
