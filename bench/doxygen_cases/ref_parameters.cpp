/** A board. */
class Board {
  public:
    /** Empties it. */
    void clear();
};

/** A grid of cells: resize(int, int) changes its shape, #fill(char) its cells, and clear()
 *  is what Board gives it; Grid::resize(int) makes it square. */
class Grid : public Board {
  public:
    /** Gives it rows and columns. */
    void resize(int rows, int columns);
    /** Gives it a size; see also resize(int,int). */
    void resize(int size);
    /** Fills every cell with `cell`, as Board::clear() empties them. */
    void fill(char cell);
};
