/**
 * Orders a lantern from https://lanterns.example/order or from
 * [the catalogue](https://lanterns.example/catalogue).
 */
int lantern_order(const char *model);
