/* Baseline for the loading benchmark: a shared library with nothing to initialise. */
int statlume_bench_empty_marker = 0;
