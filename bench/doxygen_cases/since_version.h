/**
 * Measures the flame height.
 * @since 2.4
 * @version 3
 * @author Mira Lampwright
 * @copyright The Lantern Guild
 * @date 2024-11-02
 */
int lantern_flame_height(int id);
