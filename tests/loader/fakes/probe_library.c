/* A tiny library that the loader tests load from a folder of their own. */
int morvane_probe_answer(void) { return 42; }
